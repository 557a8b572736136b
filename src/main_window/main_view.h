// The main window as its logic (MainWindowLogic) sees it. The Win32 view draws the
// controls; the logic decides what they show.
#pragma once

#include <string>

#include "launch/launcher_shell.h"
#include "ui/position_in.h"

namespace quandrel {

// The controls of the main window, named as in its design.
enum class Control {
  BevelImageTitle,
  ImageTitle,
  BitBtnAcRepair,
  BitBtnAcCompact,
  BitBtnBackup,
  BitBtnAcQuit,
  BitBtnAcSave,
  BitBtnRestart,
  BitBtnAcExit,
  BitBtnExit,
  ListBoxFontName,
  PanelDBpath,
  LabelDBPath,
  LabelRequired,
  BitBtnDBpath,
  EditDBpath,
  BitBtnCustom,
  BitBtnClose,
  BitBtnOK,
  PanelImageEtc,
  BitBtnImage,
  LabelImagePath,
  EditImagePath,
  EditTitle,
  EditDate,
  LabelTitle,
  BitBtnIcon,
  LabelIconPath,
  EditIconPath,
  CboxUnClose,
  CboxNonCustom,
  CboxMDBbak,
  Count
};

// The design's facts that every view of the main window starts from.

// Hidden in the design; the modes show them as the target asks.
constexpr Control kMainHiddenInDesign[] = {
    Control::BitBtnAcRepair, Control::BitBtnAcCompact, Control::BitBtnAcQuit,
    Control::BitBtnAcSave,   Control::BitBtnRestart,   Control::BitBtnAcExit,
    Control::BitBtnExit,     Control::ListBoxFontName, Control::BitBtnCustom};

// The tab stops, first to last; every other control takes no focus.
constexpr Control kMainTabOrder[] = {
    Control::BitBtnExit,    Control::BitBtnAcExit,  Control::BitBtnRestart,   Control::BitBtnAcSave,
    Control::BitBtnAcQuit,  Control::BitBtnBackup,  Control::BitBtnAcCompact, Control::BitBtnAcRepair,
    Control::BitBtnCustom,  Control::BitBtnOK,      Control::BitBtnClose,     Control::BitBtnDBpath,
    Control::EditDBpath,    Control::CboxNonCustom, Control::CboxMDBbak,      Control::BitBtnImage,
    Control::EditImagePath, Control::EditTitle,     Control::BitBtnIcon,      Control::CboxUnClose,
    Control::EditIconPath};

constexpr bool StartsHidden(Control c) { return PositionIn(kMainHiddenInDesign, c) >= 0; }
// The control's place in kMainTabOrder, -1 when it is no tab stop.
constexpr int TabPosition(Control c) { return PositionIn(kMainTabOrder, c); }

// What kind of picture a file is, judged by its extension.
enum class PictureKind { Bitmap, Icon, Metafile, Unsupported };

// What the user does in the main window, as the view reports it to its
// logic.
class MainViewEvents {
 public:
  virtual ~MainViewEvents() = default;
  // A button was pressed, or the user changed the text of EditTitle,
  // EditImagePath or EditIconPath.
  virtual void ControlUsed(Control c) = 0;
  // A mouse message of the tray icon; true when it was handled.
  virtual bool TrayIconNotified(long mouseMessage) = 0;
  // The window was closed (not when it is dropped without closing).
  virtual void WindowClosed() = 0;
};

class MainView : public LauncherShell {
 public:
  // The display title: caption of the window and title of the application
  // (taskbar button, caption of plain message boxes).
  virtual void SetDisplayTitle(const std::string& title) = 0;

  virtual void SetVisible(Control c, bool visible) = 0;
  virtual void SetEnabled(Control c, bool enabled) = 0;
  // Read-only fields take the colour of inactive captions; editable ones
  // their own colours.
  virtual void SetReadOnly(Control c, bool readOnly) = 0;
  virtual bool IsVisible(Control c) const = 0;
  virtual bool IsEnabled(Control c) const = 0;
  virtual bool IsReadOnly(Control c) const = 0;

  // Field texts. Setting a text from the logic runs no change handler; the
  // view reports only the user's edits to the logic.
  virtual void SetText(Control c, const std::string& text) = 0;
  virtual std::string GetText(Control c) const = 0;
  virtual void SetChecked(Control c, bool checked) = 0;
  virtual bool IsChecked(Control c) const = 0;

  // The face of the four path and title fields (height and colour stay).
  virtual void SetFieldFontFace(const std::string& face) = 0;
  // Outer height of the window, title bar and borders included, in pixels
  // at 96 DPI (the view scales it).
  virtual void SetOuterHeight(int pixelsAt96Dpi) = 0;

  // Loads a picture into ImageTitle, stretched to 300 x 120, and repaints
  // it; false when the file cannot be loaded (the picture stays).
  virtual bool LoadTitlePicture(const std::string& path, PictureKind kind) = 0;
  // Loads an icon file as the application's icon (taskbar, title bar, tray);
  // false when it cannot be loaded (the icon stays).
  virtual bool LoadApplicationIcon(const std::string& path) = 0;

  // Closes the main window, which ends the program.
  virtual void CloseWindow() = 0;
  // While held, the user's and the system's requests to close the window
  // (its close box, Alt+F4, the taskbar) are refused, and the close box
  // shows it: a handler still runs that the window's end would cut short.
  virtual void HoldClose(bool held) = 0;
  // Creates a new backup window owned by the main window and shows it modally.
  virtual void OpenBackupWindow() = 0;
};

}  // namespace quandrel
