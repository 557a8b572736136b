// The main window as a test sees it: every control starts in its design
// state, what the logic shows is kept per control (the logic never reads
// it back), and the shell calls
// (tray, windows, pump, wait window) go to one ordered log together with
// the window's own: "title <text>", "height <px>", "picture <path>",
// "icon <path>", "backup", "close".
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "main_window/main_view.h"
#include "fakes/fake_shell.h"
#include "text/sjis.h"

namespace quandrel::fakes {

class FakeMainView : public MainView {
 public:
  // The shell part; its `calls` is the log of this view too.
  FakeShell shell;
  std::vector<std::string>& calls = shell.calls;

  std::string displayTitle;        // the last one set
  std::string fieldFontFace = "ＭＳ ゴシック";
  std::optional<int> outerHeight;  // unset: the design height
  std::optional<std::pair<std::string, PictureKind>> picture;  // unset: the built-in one
  std::optional<std::string> icon;                            // unset: the built-in one
  // Files that fail to load (matched without regard to ASCII case).
  std::set<std::string> badPictures, badIcons;
  int backupWindowsOpened = 0;
  int historyWindowsOpened = 0;
  bool closed = false;
  bool closeHeld = false;

  FakeMainView() {
    visible_.fill(true);
    enabled_.fill(true);
    readOnly_.fill(false);
    ticked_.fill(false);
    for (Control c : kMainHiddenInDesign) visible_[Index(c)] = false;
  }

  // --- LauncherShell ---
  void AddTrayIcon(const std::string& tip) override { shell.AddTrayIcon(tip); }
  void RemoveTrayIcon() override { shell.RemoveTrayIcon(); }
  void ShowMainWindow(bool visible) override { shell.ShowMainWindow(visible); }
  void ShowApplicationWindow(bool visible) override { shell.ShowApplicationWindow(visible); }
  void BringToFront() override { shell.BringToFront(); }
  void PumpMessages() override { shell.PumpMessages(); }
  std::unique_ptr<WaitWindow> OpenWaitWindow() override { return shell.OpenWaitWindow(); }
  void PrepareMainWindow() override { shell.PrepareMainWindow(); }

  // --- MainView ---
  void SetDisplayTitle(const std::string& title) override {
    displayTitle = title;
    calls.push_back("title " + title);
  }
  void SetVisible(Control c, bool v) override { visible_[Index(c)] = v; }
  void SetEnabled(Control c, bool v) override { enabled_[Index(c)] = v; }
  void SetReadOnly(Control c, bool v) override { readOnly_[Index(c)] = v; }
  bool IsVisible(Control c) const override { return visible_[Index(c)]; }
  bool IsEnabled(Control c) const override { return enabled_[Index(c)]; }
  bool IsReadOnly(Control c) const override { return readOnly_[Index(c)]; }
  void SetText(Control c, const std::string& t) override { shown_[Index(c)] = t; }
  void SetChecked(Control c, bool v) override { ticked_[Index(c)] = v; }
  void SetFieldFontFace(const std::string& face) override { fieldFontFace = face; }
  void SetOuterHeight(int px) override {
    outerHeight = px;
    calls.push_back("height " + std::to_string(px));
  }
  bool LoadTitlePicture(const std::string& path, PictureKind kind) override {
    if (badPictures.count(text::UpperAscii(path))) return false;
    picture = std::make_pair(path, kind);
    calls.push_back("picture " + path);
    return true;
  }
  bool LoadApplicationIcon(const std::string& path) override {
    if (badIcons.count(text::UpperAscii(path))) return false;
    icon = path;
    calls.push_back("icon " + path);
    return true;
  }
  void CloseWindow() override {
    closed = true;
    calls.push_back("close");
  }
  void HoldClose(bool held) override { closeHeld = held; }
  void OpenBackupWindow() override {
    ++backupWindowsOpened;
    calls.push_back("backup");
  }
  void OpenHistoryWindow() override {
    ++historyWindowsOpened;
    calls.push_back("history");
  }

  // --- what the window shows ---
  const std::string& Shown(Control c) const { return shown_[Index(c)]; }
  bool Ticked(Control c) const { return ticked_[Index(c)]; }

  // --- the user at work: the control shows the new value, and the event
  // carries it to `events` ---
  void Type(MainViewEvents& events, Control field, const std::string& text) {
    shown_[Index(field)] = text;
    events.TextEdited(field, text);
  }
  void Click(MainViewEvents& events, Control box, bool ticked) {
    ticked_[Index(box)] = ticked;
    events.SwitchClicked(box, ticked);
  }

  // --- set-up for tests ---
  void FailPicture(const std::string& path) { badPictures.insert(text::UpperAscii(path)); }
  void FailIcon(const std::string& path) { badIcons.insert(text::UpperAscii(path)); }

 private:
  static constexpr std::size_t kCount = static_cast<std::size_t>(Control::Count);
  static std::size_t Index(Control c) { return static_cast<std::size_t>(c); }

  std::array<bool, kCount> visible_{}, enabled_{}, readOnly_{}, ticked_{};
  std::array<std::string, kCount> shown_{};
};

}  // namespace quandrel::fakes
