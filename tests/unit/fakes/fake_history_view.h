// The history window as a test sees it: the lines shown, the line chosen,
// which buttons are on, and the wait windows opened with their progress.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history_window/history_view.h"

namespace quandrel::fakes {

class FakeHistoryView : public HistoryView {
 public:
  std::vector<HistoryRow> rows;
  std::optional<int> chosen;
  int waitWindowsOpened = 0;
  int waitWindowsOpen = 0;  // open right now
  std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
  bool closed = false;

  FakeHistoryView() { enabled_.fill(true); }

  void ShowRows(const std::vector<HistoryRow>& shown) override {
    rows = shown;
    chosen.reset();
  }
  void ChooseRow(std::optional<int> row) override { chosen = row; }
  void SetEnabled(HistoryControl c, bool enabled) override { enabled_[Index(c)] = enabled; }
  bool IsEnabled(HistoryControl c) const { return enabled_[Index(c)]; }
  std::unique_ptr<WaitWindow> OpenWaitWindow() override {
    ++waitWindowsOpened;
    return std::make_unique<Wait>(*this);
  }
  void CloseWindow() override { closed = true; }

  // The user clicks a line: the view shows it chosen and reports it.
  void Click(HistoryViewEvents& events, int row) {
    chosen = row;
    events.RowChosen(row);
  }

 private:
  class Wait : public WaitWindow {
   public:
    explicit Wait(FakeHistoryView& view) : view_(view) { ++view_.waitWindowsOpen; }
    ~Wait() override { --view_.waitWindowsOpen; }
    void ShowProgress(std::uint64_t done, std::uint64_t total) override { view_.progress.emplace_back(done, total); }

   private:
    FakeHistoryView& view_;
  };
  static std::size_t Index(HistoryControl c) { return static_cast<std::size_t>(c); }
  std::array<bool, static_cast<std::size_t>(HistoryControl::Count)> enabled_{};
};

}  // namespace quandrel::fakes
