// The Win32 view of the main window MainWindowLogic, and the application window
// that carries the taskbar button and owns it.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "main_window/main_view.h"
#include "launch/wait_window.h"
#include "main_window/win32/taskbar_window.h"
#include "main_window/win32/tray_icon.h"
#include "ui/win32/control_table.h"
#include "ui/win32/dpi_fonts.h"
#include "ui/win32/gdi_objects.h"
#include "ui/win32/modal_window.h"
#include "ui/win32/window_base.h"

namespace quandrel::win32 {

class MainWindow : public MainView, private WindowBase {
 public:
  // Creates the application window (titled "Quandrel", hidden until the
  // launch cycle shows it) and the main window's frame (hidden). Null when a
  // window can't be created. The controls come with PrepareMainWindow: until
  // then the view keeps the state the logic sets (visibility, enabling,
  // read-only) and the controls start with it, and once they are made the
  // logic is asked to show the fields' values (ControlsMade), so that a
  // start that launches a program needn't wait for them.
  static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Where the user's actions go (the logic); none until attached.
  void Attach(MainViewEvents* events) { events_ = events; }

  // Makes a modal window (with its logic, its creation done) owned by
  // `owner`: each backup window the backup button opens, each history
  // window the history button opens. Without one, the button opens nothing.
  using ModalFactory = std::function<std::unique_ptr<ModalWindow>(HWND owner)>;
  using BackupFactory = ModalFactory;
  void SetBackupFactory(BackupFactory factory) { backupFactory_ = std::move(factory); }
  using HistoryFactory = ModalFactory;
  void SetHistoryFactory(HistoryFactory factory) { historyFactory_ = std::move(factory); }
  // Makes the wait window shown while a snapshot is taken, owned by
  // `owner`. Without one, the copy runs without a wait window.
  using WaitFactory = std::function<std::unique_ptr<WaitWindow>(HWND owner)>;
  void SetWaitFactory(WaitFactory factory) { waitFactory_ = std::move(factory); }

  HWND Handle() const { return hwnd_; }
  // The window message boxes belong to: the open backup or history window
  // while one is shown, else the main window.
  HWND DialogOwner() const { return openModal_ ? openModal_ : hwnd_; }
  HWND ApplicationWindow() const { return app_ ? app_->Handle() : nullptr; }
  // Null until the controls are made.
  HWND ControlHandle(Control c) const { return Ctl(c); }
  std::string ApplicationTitle() const;
  // The control id of a control: stable, for finding it from outside.
  static int ControlId(Control c) { return kFirstId + static_cast<int>(c); }

  // Keyboard handling of the active window (Tab, Enter, Esc, Alt+letter);
  // true when the message was handled.
  bool TranslateDialogMessage(MSG* msg);
  // The main message loop: runs until WM_QUIT (the main window's
  // destruction posts it) and returns its exit code.
  static int RunMessageLoop();

  // MainView
  void SetDisplayTitle(const std::string& title) override;
  void SetVisible(Control c, bool visible) override;
  void SetEnabled(Control c, bool enabled) override;
  void SetReadOnly(Control c, bool readOnly) override;
  bool IsVisible(Control c) const override;
  bool IsEnabled(Control c) const override;
  bool IsReadOnly(Control c) const override;
  void SetText(Control field, const std::string& text) override;
  void SetChecked(Control box, bool checked) override;
  void SetFieldFontFace(const std::string& face) override;
  void SetOuterHeight(int pixelsAt96Dpi) override;
  bool LoadTitlePicture(const std::string& path, PictureKind kind) override;
  bool LoadApplicationIcon(const std::string& path) override;
  void CloseWindow() override;
  void HoldClose(bool held) override;
  void OpenBackupWindow() override;
  void OpenHistoryWindow() override;

  // LauncherShell
  void AddTrayIcon(const std::string& tip) override;
  void RemoveTrayIcon() override;
  void ShowMainWindow(bool visible) override;
  void ShowApplicationWindow(bool visible) override;
  void BringToFront() override;
  void PumpMessages() override;
  std::unique_ptr<WaitWindow> OpenWaitWindow() override;
  // Makes the controls (design layout, in the state the logic has set), the
  // windows' icons and the built-in title picture, once; the first showing
  // does it at the latest, and makes the hints.
  void PrepareMainWindow() override;

  // The tray icon's callback message, the window's own: no system or dialog
  // message (WM_USER is DM_GETDEFID) shares its number. And whether the
  // icon is up.
  static constexpr UINT kTrayMessage = WM_APP + 1;
  bool TrayIconShown() const { return tray_ && tray_->Shown(); }

 private:
  static constexpr int kFirstId = 100;
  static constexpr int kCount = static_cast<int>(Control::Count);
  static int Index(Control c) { return static_cast<int>(c); }
  HWND Ctl(Control c) const { return table_.Handle(Index(c)); }

  explicit MainWindow(HINSTANCE instance);
  bool CreateWindows();
  void CreateControls();
  void CreateTooltips();
  // Makes a window with `factory` and shows it modally over this one.
  void ShowOwnedModal(const ModalFactory& factory);
  HWND DefaultButton() const;
  // Hides or disables (usable false) or shows or enables a control by
  // `change`; a focused control that the user can no longer reach hands
  // the focus on.
  void ChangeFocusable(HWND control, bool usable, const std::function<void(HWND)>& change);
  bool HasStyle(Control c, LONG style) const;
  void ApplyIcons();

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;
  LRESULT ControlColour(UINT msg, HDC dc, HWND control) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;

  HINSTANCE instance_;
  Dpi dpi_;
  std::unique_ptr<TaskbarWindow> app_;
  HWND tooltip_ = nullptr;
  ControlTable table_;
  // The state the logic set before the controls were made; they start with it.
  std::array<ControlTable::Start, static_cast<size_t>(Control::Count)> early_;
  bool controlsMade_ = false;

  MainViewEvents* events_ = nullptr;
  BackupFactory backupFactory_;
  HistoryFactory historyFactory_;
  WaitFactory waitFactory_;
  HWND openModal_ = nullptr;  // the backup or history window shown modally, if any
  int settingText_ = 0;      // inside SetText: changes are the logic's own
  bool discarding_ = false;  // destroyed by the destructor, not closed
  bool closeHeld_ = false;   // WM_CLOSE is refused

  BitmapHandle title_;  // the title picture at the control's size
  bool prepared_ = false;  // the controls, icons and built-in picture are made
  IconHandle bigIcon_, smallIcon_;
  std::unique_ptr<TrayIcon> tray_;
};

}  // namespace quandrel::win32
