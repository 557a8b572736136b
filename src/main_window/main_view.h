// The main window as its logic (MainWindowLogic) sees it. The Win32 view draws the
// controls; the logic decides what they show.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
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
  BitBtnHistory,
  Count
};

// The design's facts that every view of the main window starts from.

// Hidden in the design; the modes show them as the target asks.
constexpr Control kMainHiddenInDesign[] = {
    Control::BitBtnAcRepair, Control::BitBtnAcCompact, Control::BitBtnAcQuit,
    Control::BitBtnAcSave,   Control::BitBtnRestart,   Control::BitBtnAcExit,
    Control::BitBtnExit,     Control::ListBoxFontName, Control::BitBtnCustom, Control::BitBtnHistory};

// The tab stops, first to last; every other control takes no focus.
constexpr Control kMainTabOrder[] = {
    Control::BitBtnExit,    Control::BitBtnAcExit,  Control::BitBtnRestart,   Control::BitBtnAcSave,
    Control::BitBtnHistory, Control::BitBtnAcQuit,  Control::BitBtnBackup,  Control::BitBtnAcCompact, Control::BitBtnAcRepair,
    Control::BitBtnCustom,  Control::BitBtnOK,      Control::BitBtnClose,     Control::BitBtnDBpath,
    Control::EditDBpath,    Control::CboxNonCustom, Control::CboxMDBbak,      Control::BitBtnImage,
    Control::EditImagePath, Control::EditTitle,     Control::BitBtnIcon,      Control::CboxUnClose,
    Control::EditIconPath};

constexpr bool StartsHidden(Control c) { return PositionIn(kMainHiddenInDesign, c) >= 0; }
// The control's place in kMainTabOrder, -1 when it is no tab stop.
constexpr int TabPosition(Control c) { return PositionIn(kMainTabOrder, c); }

// The sets of controls that the modes, the handlers, the views and the tests
// work on, each named once.

// The four text fields: read-only in end mode, editable in settings mode.
constexpr Control kMainTextFields[] = {Control::EditDBpath, Control::EditImagePath, Control::EditIconPath,
                                       Control::EditTitle};
// The check boxes that stand for switches of the settings: disabled in end
// mode, enabled in settings mode.
constexpr Control kMainSwitches[] = {Control::CboxNonCustom, Control::CboxMDBbak, Control::CboxUnClose};

// Every button of end mode: settings mode hides them all, and they are held
// (disabled) while Microsoft Access runs. When end mode shows each is the
// layout's rule (layout_modes.cpp), by the sets below, the history button
// (while there is history to show) and the backup and settings buttons,
// which it always shows.
constexpr Control kMainEndModeButtons[] = {
    Control::BitBtnAcRepair, Control::BitBtnAcCompact, Control::BitBtnBackup,
    Control::BitBtnAcQuit,   Control::BitBtnAcSave,    Control::BitBtnRestart,
    Control::BitBtnAcExit,   Control::BitBtnExit,      Control::BitBtnCustom,
    Control::BitBtnHistory};
// Shown for a database target: compaction and repair.
constexpr Control kMainMaintenanceButtons[] = {Control::BitBtnAcRepair, Control::BitBtnAcCompact};
// Shown when the run has a snapshot to keep or put back, else the plain ones.
constexpr Control kMainSnapshotActions[] = {Control::BitBtnAcSave, Control::BitBtnAcExit, Control::BitBtnAcQuit};
constexpr Control kMainPlainActions[] = {Control::BitBtnRestart, Control::BitBtnExit};

// The buttons of settings mode: those that leave it (discard, save) and the
// browse buttons.
constexpr Control kMainLeaveSettingsButtons[] = {Control::BitBtnClose, Control::BitBtnOK};
constexpr Control kMainBrowseButtons[] = {Control::BitBtnDBpath, Control::BitBtnImage, Control::BitBtnIcon};

// The buttons Enter presses when no button has the focus: the first visible
// one of these.
constexpr Control kMainDefaultButtons[] = {Control::BitBtnOK, Control::BitBtnAcExit, Control::BitBtnExit};

// The values the main window's fields show, held by its logic alone: the
// text of each text field (as the user typed it), the tick of each switch
// and today's date. The views only show them.
struct MainFields {
  std::array<std::string, std::size(kMainTextFields)> texts;
  std::array<bool, std::size(kMainSwitches)> ticks{};
  std::string date;

  // `field` is one of kMainTextFields, `box` one of kMainSwitches.
  std::string& Text(Control field) { return texts.at(Slot(kMainTextFields, field)); }
  const std::string& Text(Control field) const { return texts.at(Slot(kMainTextFields, field)); }
  bool& Ticked(Control box) { return ticks.at(Slot(kMainSwitches, box)); }
  bool Ticked(Control box) const { return ticks.at(Slot(kMainSwitches, box)); }

 private:
  // Out of range (and so refused by at()) for a control not in the list.
  template <std::size_t N>
  static std::size_t Slot(const Control (&list)[N], Control c) {
    return static_cast<std::size_t>(PositionIn(list, c));
  }
};

// What the mouse did over the tray icon.
enum class TrayMouse { Move, LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp, RightDoubleClick, Other };

// What kind of picture a file is, judged by its extension.
enum class PictureKind { Bitmap, Icon, Metafile, Unsupported };

// What the user does in the main window, as the view reports it to its
// logic.
class MainViewEvents {
 public:
  virtual ~MainViewEvents() = default;
  // A button was pressed.
  virtual void ControlUsed(Control button) = 0;
  // The user changed the text of one of kMainTextFields; `text` is what the
  // field shows now.
  virtual void TextEdited(Control field, const std::string& text) = 0;
  // The user ticked or cleared one of kMainSwitches.
  virtual void SwitchClicked(Control box, bool ticked) = 0;
  // The view has made its controls; they show none of the fields' values yet.
  virtual void ControlsMade() = 0;
  // The mouse over the tray icon; true when the logic handled it.
  virtual bool TrayIconUsed(TrayMouse action) = 0;
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

  // Shows a field's value (a text field or EditDate, a switch's tick).
  // Showing runs no change handler: the view reports only the user's edits,
  // and the logic never reads a value back. Before the controls are made
  // nothing is shown; ControlsMade asks for the values again.
  virtual void SetText(Control field, const std::string& text) = 0;
  virtual void SetChecked(Control box, bool checked) = 0;

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
  // Creates a new history window owned by the main window and shows it modally.
  virtual void OpenHistoryWindow() = 0;
};

}  // namespace quandrel
