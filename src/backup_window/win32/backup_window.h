// The Win32 view of the backup window BackupWindowLogic: a fixed window with a
// caption and no title-bar buttons, shown modally over the main window, with
// the drive group, the option boxes, the prefix and destination fields and
// the copy and return buttons. Its controls call the logic's handlers.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backup_window/backup_view.h"
#include "ui/win32/control_table.h"
#include "ui/win32/dpi_fonts.h"
#include "ui/win32/fitting_label.h"
#include "ui/win32/gdi_objects.h"
#include "ui/win32/modal_window.h"
#include "ui/win32/window_base.h"
#include "platform/platform.h"

namespace quandrel {
class BackupWindowLogic;
}

namespace quandrel::win32 {

class BackupWindow : public BackupView, public ModalWindow, private WindowBase {
 public:
  // Creates the window with all its controls in their design state, hidden,
  // owned by `owner` and centred on the desktop. Null when it can't be created.
  static std::unique_ptr<BackupWindow> Create(HINSTANCE instance, HWND owner);
  ~BackupWindow() override;  // destroys the window
  BackupWindow(const BackupWindow&) = delete;
  BackupWindow& operator=(const BackupWindow&) = delete;

  // Where the user's actions go (the logic); none until attached.
  void Attach(BackupViewEvents* events) { events_ = events; }

  // Shows the window modally with the focus on ButtonGo: the owner takes no
  // input until the window is closed (the return button, Esc, Alt+F4 or
  // Close()); the owner is enabled again and activated. A WM_QUIT met
  // meanwhile ends the wait and is posted again.
  void ShowModal() override;
  // Ends a modal showing (hides the window).
  void Close();

  HWND Handle() const override { return hwnd_; }
  HWND ControlHandle(BackupControl c) const { return Ctl(c); }
  HWND DriveItemHandle(int item) const { return items_[static_cast<size_t>(item)]; }
  // Control ids: stable, for finding the controls from outside.
  static int ControlId(BackupControl c) { return kFirstId + Index(c); }
  static int DriveItemId(int item) { return kFirstDriveId + item; }

  // BackupView
  bool IsChecked(BackupControl c) const override;
  void SetChecked(BackupControl c, bool checked) override;
  std::optional<int> ChosenDrive() const override { return chosen_; }
  void ChooseDrive(std::optional<int> item) override;
  std::string GetText(BackupControl c) const override;
  void SetText(BackupControl c, const std::string& text) override;
  std::uintptr_t WindowHandle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }
  void CloseWindow() override { Close(); }

 private:
  static constexpr int kFirstId = 100;
  static constexpr int kFirstDriveId = 200;
  static constexpr int kCount = static_cast<int>(BackupControl::Count);
  static int Index(BackupControl c) { return static_cast<int>(c); }
  HWND Ctl(BackupControl c) const { return table_.Handle(Index(c)); }

  BackupWindow();
  void CreateControls(HINSTANCE instance);
  HWND CreateDriveItem(HINSTANCE instance, int item, HDC screen);
  void OnCommand(int id, int code);
  void RunHandler(BackupControl c);
  void DriveItemClicked(int item);
  void PrefixFocus(bool entering);
  LRESULT ControlColour(UINT msg, HDC dc, HWND control) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;

  Dpi dpi_;
  HWND tooltip_ = nullptr;
  ControlTable table_;
  std::array<HWND, kDriveItems> items_{};
  std::optional<int> chosen_;

  BackupViewEvents* events_ = nullptr;
  bool prefixActive_ = false;  // EditPreFix is the control the user works in

  FittingLabelFont driveLeftFont_;  // LabelDrvLeft's, as small as its text needs
};

// A backup window together with its logic, made as one: the logic's
// LoadAndShowOptions has run when Create returns.
class BackupForm : public ModalForm<BackupWindow, BackupWindowLogic> {
 public:
  static std::unique_ptr<BackupForm> Create(HINSTANCE instance, HWND owner, Platform& platform,
                                            std::vector<std::string> driveNames, std::string settingsPath);
  ~BackupForm() override;  // defined where the logic's type is complete

 private:
  BackupForm() = default;
};

}  // namespace quandrel::win32
