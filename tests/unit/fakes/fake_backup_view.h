// The backup window as a test sees it: every control starts in its design
// state (none box, include box and update box ticked, no drive, empty
// fields, labels of 19 blanks); the logic's changes are kept per control.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "backup_window/backup_view.h"

namespace quandrel::fakes {

class FakeBackupView : public BackupView {
 public:
  static constexpr std::uintptr_t kHandle = 0xB0;
  bool closed = false;
  int textSets = 0;  // every SetText, so a test can tell a rebuild happened

  FakeBackupView() {
    checked_.fill(false);
    for (BackupControl c : kBackupTickedInDesign) checked_[Index(c)] = true;
    texts_[Index(BackupControl::LabelDrvKind)] = kDriveLabelBlanks;
    texts_[Index(BackupControl::LabelDrvLeft)] = kDriveLabelBlanks;
  }

  // What the user's click does to a box before its handler runs.
  void Flip(BackupControl c) { checked_[Index(c)] = !checked_[Index(c)]; }

  bool IsChecked(BackupControl c) const override { return checked_[Index(c)]; }
  void SetChecked(BackupControl c, bool checked) override { checked_[Index(c)] = checked; }
  std::optional<int> ChosenDrive() const override { return drive_; }
  void ChooseDrive(std::optional<int> item) override { drive_ = item; }
  std::string GetText(BackupControl c) const override { return texts_[Index(c)]; }
  void SetText(BackupControl c, const std::string& text) override {
    ++textSets;
    texts_[Index(c)] = text;
  }
  std::uintptr_t WindowHandle() const override { return kHandle; }
  void CloseWindow() override { closed = true; }

 private:
  static std::size_t Index(BackupControl c) { return static_cast<std::size_t>(c); }
  std::array<bool, static_cast<std::size_t>(BackupControl::Count)> checked_{};
  std::array<std::string, static_cast<std::size_t>(BackupControl::Count)> texts_{};
  std::optional<int> drive_;
};

}  // namespace quandrel::fakes
