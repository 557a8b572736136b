// The Win32 views in this process: the main window's controls, keyboard,
// colours, pictures and icons, the application window, the message pump,
// the wait window and the backup window's frame.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "backup_window/win32/backup_window.h"
#include "main_window/win32/main_window.h"
#include "wait_window/win32/wait_window_view.h"
#include "ui/win32/dialog_keys.h"
#include "driver/driver.h"

namespace {

using qtest::DrainMessages;
using qtest::PlaceInParent;
using quandrel::Control;
using quandrel::PictureKind;
using quandrel::win32::BackupWindow;
using quandrel::win32::Dpi;
using quandrel::win32::MainWindow;
using quandrel::win32::WaitWindowView;

int Scaled(int px) { return Dpi()(px); }

std::string Text(HWND w) {
  char buf[512] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

std::string ClassName(HWND w) {
  char buf[64] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

std::string TempPath(const std::string& name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "quandrel_views_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

std::string ReadFileBytes(const std::string& path) {
  std::string out;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(f);
  return out;
}

void Put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// A 24-bit bitmap file of one colour.
std::string BitmapFile(int w, int h, COLORREF c) {
  const int row = (w * 3 + 3) & ~3;
  std::string s = "BM";
  Put32(s, 14 + 40 + row * h);
  Put32(s, 0);
  Put32(s, 14 + 40);
  Put32(s, 40);
  Put32(s, w);
  Put32(s, h);
  Put16(s, 1);
  Put16(s, 24);
  Put32(s, 0);
  Put32(s, row * h);
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, 0);
  Put32(s, 0);
  for (int y = 0; y < h; ++y) {
    std::string line;
    for (int x = 0; x < w; ++x) {
      line += static_cast<char>(GetBValue(c));
      line += static_cast<char>(GetGValue(c));
      line += static_cast<char>(GetRValue(c));
    }
    line.resize(row, '\0');
    s += line;
  }
  return s;
}

// A 16 x 16, 32-bit icon file of one opaque colour.
std::string IconFile(COLORREF c) {
  std::string image;
  Put32(image, 40);
  Put32(image, 16);
  Put32(image, 32);  // colour and mask rows
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  for (int i = 0; i < 16 * 16; ++i) {
    image += static_cast<char>(GetBValue(c));
    image += static_cast<char>(GetGValue(c));
    image += static_cast<char>(GetRValue(c));
    image += static_cast<char>(0xFF);
  }
  image += std::string(16 * 4, '\0');  // mask: all opaque
  std::string s;
  Put16(s, 0);
  Put16(s, 1);
  Put16(s, 1);
  s += static_cast<char>(16);
  s += static_cast<char>(16);
  s += '\0';
  s += '\0';
  Put16(s, 1);
  Put16(s, 32);
  Put32(s, static_cast<std::uint32_t>(image.size()));
  Put32(s, 6 + 16);
  return s + image;
}

HBRUSH RedBrush() { return CreateSolidBrush(RGB(255, 0, 0)); }

// A Windows metafile filling its 100 x 40 window in red, as GDI writes it
// (no placeable header).
std::string PlainWmfBytes() {
  const std::string path = TempPath("plain.wmf");
  HDC dc = CreateMetaFileA(path.c_str());
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, 100, 40, nullptr);
  HBRUSH red = RedBrush();
  SelectObject(dc, red);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 0, 0, 101, 41);
  DeleteMetaFile(CloseMetaFile(dc));
  DeleteObject(red);
  std::string bytes = ReadFileBytes(path);
  DeleteFileA(path.c_str());
  return bytes;
}

// The same with the 22-byte placeable header in front of it.
std::string PlaceableWmfBytes() {
  std::string h;
  Put32(h, 0x9AC6CDD7);
  Put16(h, 0);
  Put16(h, 0);
  Put16(h, 0);
  Put16(h, 100);
  Put16(h, 40);
  Put16(h, 1440);
  Put32(h, 0);
  unsigned sum = 0;
  for (size_t i = 0; i < h.size(); i += 2) {
    sum ^= static_cast<unsigned char>(h[i]) | (static_cast<unsigned char>(h[i + 1]) << 8);
  }
  Put16(h, sum);
  return h + PlainWmfBytes();
}

std::string EmfFile() {
  const std::string path = TempPath("pic.emf");
  RECT frame{0, 0, 2540, 1016};
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  HBRUSH red = RedBrush();
  RECT all{0, 0, 100, 40};
  FillRect(dc, &all, red);
  DeleteObject(red);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  return path;
}

// The colour at the centre of the title picture, painted off screen.
COLORREF TitleCentre(HWND image) {
  RECT r;
  GetClientRect(image, &r);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageA(image, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  const COLORREF c = GetPixel(mem, r.right / 2, r.bottom / 2);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return c;
}

bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }
bool IsBlue(COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 60 && GetGValue(c) < 60; }

// Records the user's actions, in order: the buttons pressed, and the
// fields and switches changed with the values they carry. Made controls are
// shown the values in `fields`, as the logic does.
struct EventRecorder : quandrel::MainViewEvents {
  quandrel::MainView* view = nullptr;
  quandrel::MainFields fields;
  std::vector<Control> used;
  std::vector<std::pair<Control, std::string>> edited;
  std::vector<std::pair<Control, bool>> clicked;
  std::vector<quandrel::TrayMouse> tray;
  void ControlUsed(Control c) override { used.push_back(c); }
  void TextEdited(Control c, const std::string& text) override { edited.emplace_back(c, text); }
  void SwitchClicked(Control c, bool ticked) override { clicked.emplace_back(c, ticked); }
  void ControlsMade() override {
    if (!view) return;
    for (Control c : quandrel::kMainTextFields) view->SetText(c, fields.Text(c));
    for (Control c : quandrel::kMainSwitches) view->SetChecked(c, fields.Ticked(c));
  }
  bool TrayIconUsed(quandrel::TrayMouse m) override {
    tray.push_back(m);
    return false;
  }
  void WindowClosed() override {}
};

bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = MainWindow::Create(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    window_->PrepareMainWindow();  // as the launch does while its program starts
    main_ = window_->Handle();
    window_->Attach(&recorder_);
  }
  void TearDown() override {
    window_.reset();
    DrainMessages();
  }
  HWND Ctl(Control c) const { return window_->ControlHandle(c); }
  // Shows the main window and makes it the active one, as at the end of a run.
  void ShowActive() {
    window_->ShowMainWindow(true);
    SetForegroundWindow(main_);
    SetActiveWindow(main_);
    DrainMessages();
  }
  // End mode of an ".MDB" target with snapshot actions.
  void EndModeButtons() {
    for (Control c : quandrel::kMainMaintenanceButtons) window_->SetVisible(c, true);
    for (Control c : quandrel::kMainSnapshotActions) window_->SetVisible(c, true);
    window_->SetVisible(Control::BitBtnCustom, true);
    for (Control c : quandrel::kMainLeaveSettingsButtons) window_->SetVisible(c, false);
    for (Control c : quandrel::kMainBrowseButtons) window_->SetVisible(c, false);
  }
  bool Key(UINT message, WPARAM key) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = message;
    msg.wParam = key;
    msg.lParam = message == WM_SYSCHAR ? (1 << 29) : 0;
    return window_->TranslateDialogMessage(&msg);
  }

  std::unique_ptr<MainWindow> window_;
  HWND main_ = nullptr;
  EventRecorder recorder_;
  std::vector<Control>& events_ = recorder_.used;
};

TEST_F(MainWindowTest, MainWindowIsOwnedByTheApplicationWindow) {
  EXPECT_EQ(ClassName(main_), "TFormMain");
  EXPECT_EQ(ClassName(window_->ApplicationWindow()), "QuandrelApplication");
  EXPECT_EQ(GetWindow(main_, GW_OWNER), window_->ApplicationWindow());
  const LONG style = GetWindowLongA(main_, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  RECT client;
  GetClientRect(main_, &client);
  EXPECT_EQ(client.right, Scaled(420));
  EXPECT_EQ(client.bottom, Scaled(486));
  EXPECT_EQ(window_->ApplicationTitle(), "Quandrel");
  EXPECT_FALSE(IsWindowVisible(main_));
}

TEST_F(MainWindowTest, DisplayTitleGoesToBothWindowsAndTheTaskbarButtonCanGoAlone) {
  window_->SetDisplayTitle("SALES.MDB の実行環境");
  EXPECT_EQ(Text(main_), "SALES.MDB の実行環境");
  EXPECT_EQ(window_->ApplicationTitle(), "SALES.MDB の実行環境");

  window_->ShowMainWindow(true);
  window_->ShowApplicationWindow(false);
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_FALSE(IsWindowVisible(window_->ApplicationWindow()));
  window_->ShowApplicationWindow(true);
  EXPECT_TRUE(IsWindowVisible(window_->ApplicationWindow()));
  window_->ShowMainWindow(false);
  EXPECT_FALSE(IsWindowVisible(main_));
}

struct Placed {
  Control control;
  const char* cls;
  int x, y, w, h;
  const char* caption;
  bool visible;
};

TEST_F(MainWindowTest, ControlsFollowTheDesignTable) {
  const Placed rows[] = {
      {Control::BitBtnAcRepair, "Button", 326, 8, 89, 25, "修復(&R)", false},
      {Control::BitBtnBackup, "Button", 326, 76, 89, 48, "バックアップ(&B)", true},
      {Control::BitBtnRestart, "Button", 160, 142, 100, 48, "再起動(&R)", false},
      {Control::BitBtnAcExit, "Button", 315, 142, 100, 48, "保存終了(&Q)", false},
      {Control::BitBtnExit, "Button", 315, 142, 100, 48, "終了(&Q)", false},
      {Control::ImageTitle, "Static", 12, 8, 300, 120, "", true},
      {Control::PanelImageEtc, "Static", 4, 304, 409, 177, "", true},
      {Control::LabelRequired, "Static", 108, 206, 57, 20, "必須!!", true},
      {Control::BitBtnOK, "Button", 330, 272, 83, 29, "設定保存", true},
      {Control::EditDBpath, "Edit", 12, 236, 393, 21, "", true},
      {Control::EditTitle, "Edit", 196, 374, 209, 21, "", true},
      {Control::EditDate, "Edit", 16, 378, 89, 16, "", true},
      {Control::EditIconPath, "Edit", 14, 425, 393, 21, "", true},
      {Control::CboxUnClose, "Button", 295, 455, 112, 17, "「閉じる」の無効化", true},
      {Control::CboxMDBbak, "Button", 156, 456, 117, 17, "*.Mdb の非破棄化", true},
      {Control::ListBoxFontName, "ListBox", 272, 92, 33, 37, "", false},
      {Control::BitBtnHistory, "Button", 108, 142, 48, 48, "履歴(&H)", false},
  };
  for (const Placed& p : rows) {
    SCOPED_TRACE(p.caption);
    HWND c = Ctl(p.control);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(GetDlgItem(main_, MainWindow::ControlId(p.control)), c);
    EXPECT_STRCASEEQ(ClassName(c).c_str(), p.cls);
    const RECT r = PlaceInParent(c);
    EXPECT_EQ(r.left, Scaled(p.x));
    EXPECT_EQ(r.top, Scaled(p.y));
    EXPECT_EQ(r.right - r.left, Scaled(p.w));
    EXPECT_EQ(r.bottom - r.top, Scaled(p.h));
    EXPECT_EQ(Text(c), p.caption);
    EXPECT_EQ(window_->IsVisible(p.control), p.visible);
  }
  // The scratch font list is never shown.
  window_->SetVisible(Control::ListBoxFontName, true);
  EXPECT_FALSE(window_->IsVisible(Control::ListBoxFontName));
}

TEST_F(MainWindowTest, TabWalksTheDesignOrderSkippingHiddenControls) {
  for (int i = 0; i < static_cast<int>(Control::Count); ++i) {
    if (static_cast<Control>(i) != Control::ListBoxFontName) window_->SetVisible(static_cast<Control>(i), true);
  }
  const std::vector<Control> order = {
      Control::BitBtnExit,    Control::BitBtnAcExit,  Control::BitBtnRestart,  Control::BitBtnAcSave,
      Control::BitBtnHistory, Control::BitBtnAcQuit,  Control::BitBtnBackup,  Control::BitBtnAcCompact, Control::BitBtnAcRepair,
      Control::BitBtnCustom,  Control::BitBtnOK,      Control::BitBtnClose,    Control::BitBtnDBpath,
      Control::EditDBpath,    Control::CboxNonCustom, Control::CboxMDBbak,     Control::BitBtnImage,
      Control::EditImagePath, Control::EditTitle,     Control::BitBtnIcon,     Control::CboxUnClose,
      Control::EditIconPath};
  std::vector<int> walked;
  HWND c = GetNextDlgTabItem(main_, nullptr, FALSE);
  for (size_t i = 0; c && i < order.size(); ++i, c = GetNextDlgTabItem(main_, c, FALSE)) {
    walked.push_back(GetDlgCtrlID(c));
  }
  std::vector<int> expected;
  for (Control x : order) expected.push_back(MainWindow::ControlId(x));
  EXPECT_EQ(walked, expected);
  EXPECT_EQ(c, Ctl(Control::BitBtnExit)) << "the walk goes round";

  window_->SetVisible(Control::BitBtnExit, false);
  window_->SetVisible(Control::BitBtnAcExit, false);
  EXPECT_EQ(GetNextDlgTabItem(main_, nullptr, FALSE), Ctl(Control::BitBtnRestart));
}

TEST_F(MainWindowTest, DefaultButtonIsTheVisibleOneOfTheMode) {
  auto defaultId = [&] {
    const LRESULT r = SendMessageA(main_, DM_GETDEFID, 0, 0);
    return HIWORD(r) == DC_HASDEFID ? static_cast<int>(LOWORD(r)) : 0;
  };
  EXPECT_EQ(defaultId(), MainWindow::ControlId(Control::BitBtnOK)) << "settings buttons show in the design";
  EndModeButtons();
  EXPECT_EQ(defaultId(), MainWindow::ControlId(Control::BitBtnAcExit));
  window_->SetVisible(Control::BitBtnAcExit, false);
  window_->SetVisible(Control::BitBtnExit, true);
  EXPECT_EQ(defaultId(), MainWindow::ControlId(Control::BitBtnExit));
  window_->SetVisible(Control::BitBtnExit, false);
  EXPECT_EQ(defaultId(), 0);
  // The tray icon's message is the window's own, not the question above;
  // its mouse messages reach the logic as what the mouse did.
  static_assert(MainWindow::kTrayMessage >= WM_APP && MainWindow::kTrayMessage < 0xC000, "an application message");
  window_->SetVisible(Control::BitBtnOK, true);
  EXPECT_EQ(SendMessageA(main_, MainWindow::kTrayMessage, 1, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(SendMessageA(main_, MainWindow::kTrayMessage, 1, WM_RBUTTONUP), 0);
  EXPECT_EQ(recorder_.tray, (std::vector<quandrel::TrayMouse>{quandrel::TrayMouse::LeftDown,
                                                              quandrel::TrayMouse::RightUp}));
  EXPECT_EQ(defaultId(), MainWindow::ControlId(Control::BitBtnOK));
}

TEST_F(MainWindowTest, EnterPressesTheFocusedPictureButtonElseTheDefault) {
  EndModeButtons();
  ShowActive();
  ASSERT_EQ(GetActiveWindow(), main_);
  EXPECT_EQ(GetFocus(), Ctl(Control::BitBtnAcExit)) << "the first tab stop takes the focus";

  SetFocus(Ctl(Control::BitBtnBackup));
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
  SetFocus(Ctl(Control::CboxMDBbak));
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
  EXPECT_EQ(events_, (std::vector<Control>{Control::BitBtnBackup, Control::BitBtnAcExit}));
}

TEST_F(MainWindowTest, AltLetterPressesTheMarkedVisibleButton) {
  EndModeButtons();
  ShowActive();
  ASSERT_EQ(GetActiveWindow(), main_);
  EXPECT_TRUE(Key(WM_SYSCHAR, 'q'));
  EXPECT_TRUE(Key(WM_SYSCHAR, 'X'));
  // Repair and restart both mark R: the first in the tab order answers,
  // wherever the focus is.
  window_->SetVisible(Control::BitBtnAcSave, false);
  window_->SetVisible(Control::BitBtnRestart, true);
  SetFocus(Ctl(Control::BitBtnAcCompact));
  EXPECT_TRUE(Key(WM_SYSCHAR, 'r'));
  // A hidden button does not answer its letter.
  window_->SetVisible(Control::BitBtnBackup, false);
  Key(WM_SYSCHAR, 'b');
  EXPECT_EQ(events_, (std::vector<Control>{Control::BitBtnAcExit, Control::BitBtnAcQuit, Control::BitBtnRestart}));
}

TEST_F(MainWindowTest, CompactLayoutKeepsTheKeyboardInTheTitleStrip) {
  EndModeButtons();
  ShowActive();
  window_->SetOuterHeight(220);
  RECT r;
  GetWindowRect(main_, &r);
  EXPECT_EQ(r.bottom - r.top, Scaled(220));
  EXPECT_TRUE(window_->IsVisible(Control::BitBtnCustom)) << "out of view, not hidden";

  SetFocus(Ctl(Control::BitBtnAcRepair));  // the last tab stop of the strip
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(GetFocus(), Ctl(Control::BitBtnAcExit));
  for (int i = 0; i < 12; ++i) {
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_TRUE(quandrel::win32::InView(main_, GetFocus()));
  }
}

TEST_F(MainWindowTest, ButtonsRunTheirHandlers) {
  std::vector<Control> buttons(std::begin(quandrel::kMainEndModeButtons), std::end(quandrel::kMainEndModeButtons));
  buttons.insert(buttons.end(), std::begin(quandrel::kMainLeaveSettingsButtons),
                 std::end(quandrel::kMainLeaveSettingsButtons));
  buttons.insert(buttons.end(), std::begin(quandrel::kMainBrowseButtons), std::end(quandrel::kMainBrowseButtons));
  ASSERT_EQ(buttons.size(), 15u);
  for (Control c : buttons) {
    window_->SetVisible(c, true);
    SendMessageA(Ctl(c), BM_CLICK, 0, 0);
  }
  EXPECT_EQ(events_, buttons);
}

TEST_F(MainWindowTest, OnlyTheUsersEditsReachTheLogicWithTheirTexts) {
  const auto& fields = quandrel::kMainTextFields;
  for (Control c : fields) {
    window_->SetText(c, "C:\\設定\\表示.bmp");
    EXPECT_EQ(Text(Ctl(c)), "C:\\設定\\表示.bmp");
  }
  EXPECT_TRUE(recorder_.edited.empty());

  std::vector<std::pair<Control, std::string>> expected;
  for (Control c : fields) {
    SendMessageA(Ctl(c), WM_CHAR, 'x', 1);
    expected.emplace_back(c, Text(Ctl(c)));
  }
  // Each edit carries what the field shows; none is a button's press.
  EXPECT_EQ(recorder_.edited, expected);
  EXPECT_NE(expected.front().second.find('x'), std::string::npos);
  EXPECT_TRUE(events_.empty());
}

TEST_F(MainWindowTest, SwitchClicksCarryTheirTicks) {
  window_->SetChecked(Control::CboxMDBbak, true);
  EXPECT_TRUE(recorder_.clicked.empty()) << "the logic's own ticks are not reported";
  SendMessageA(Ctl(Control::CboxMDBbak), BM_CLICK, 0, 0);
  SendMessageA(Ctl(Control::CboxUnClose), BM_CLICK, 0, 0);
  EXPECT_EQ(recorder_.clicked,
            (std::vector<std::pair<Control, bool>>{{Control::CboxMDBbak, false}, {Control::CboxUnClose, true}}));
  EXPECT_TRUE(events_.empty());
}

struct Look {
  Control control;
  bool readOnly;
  COLORREF back;  // CLR_INVALID: the system colour of inactive captions
};

TEST_F(MainWindowTest, FieldsShowTheirOwnColoursOrTheReadOnlyLook) {
  const Look looks[] = {
      {Control::EditDBpath, false, RGB(255, 241, 255)},   {Control::EditTitle, false, RGB(255, 255, 241)},
      {Control::EditImagePath, false, RGB(255, 255, 241)}, {Control::EditIconPath, false, RGB(255, 255, 241)},
      {Control::EditDBpath, true, CLR_INVALID},           {Control::EditIconPath, true, CLR_INVALID},
  };
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Look& l : looks) {
    window_->SetReadOnly(l.control, l.readOnly);
    EXPECT_EQ(window_->IsReadOnly(l.control), l.readOnly);
    const UINT msg = l.readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(main_, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Ctl(l.control))));
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectA(brush, sizeof lb, &lb));
    const COLORREF expected = l.back == CLR_INVALID ? GetSysColor(COLOR_INACTIVECAPTION) : l.back;
    EXPECT_EQ(lb.lbColor, expected);
    EXPECT_EQ(GetBkColor(dc), expected);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 128)) << "navy text";
  }
  DeleteDC(dc);
}

TEST_F(MainWindowTest, FieldFontFaceChangesTheFourFieldsOnly) {
  window_->SetFieldFontFace("TicagoFix");
  for (Control c : quandrel::kMainTextFields) {
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Ctl(c), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "TicagoFix");
    EXPECT_EQ(lf.lfHeight, -Scaled(13));
  }
  LOGFONTA date{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Ctl(Control::EditDate), WM_GETFONT, 0, 0)), sizeof date, &date);
  EXPECT_STRNE(date.lfFaceName, "TicagoFix");
}

TEST_F(MainWindowTest, ChecksAndEnablingRoundTrip) {
  HWND box = Ctl(Control::CboxMDBbak);
  window_->SetChecked(Control::CboxMDBbak, true);
  window_->SetEnabled(Control::CboxMDBbak, false);
  EXPECT_TRUE(Checked(box));
  EXPECT_FALSE(window_->IsEnabled(Control::CboxMDBbak));
  window_->SetChecked(Control::CboxMDBbak, false);
  window_->SetEnabled(Control::CboxMDBbak, true);
  EXPECT_FALSE(Checked(box));
  EXPECT_TRUE(window_->IsEnabled(Control::CboxMDBbak));
}

// A start that launches a program makes the controls only once the program
// is started; what the logic set before must be what the user then sees.
TEST(MainWindowBeforeItsControls, WhatIsSetBeforeTheControlsAreMadeIsWhatTheyShow) {
  std::unique_ptr<MainWindow> window = MainWindow::Create(GetModuleHandleA(nullptr));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->ControlHandle(Control::EditDBpath), nullptr);
  // Until told otherwise, the design.
  EXPECT_FALSE(window->IsVisible(Control::BitBtnAcExit));
  EXPECT_TRUE(window->IsVisible(Control::BitBtnBackup));
  EXPECT_TRUE(window->IsReadOnly(Control::EditDate));
  EXPECT_FALSE(window->IsReadOnly(Control::EditDBpath));

  const std::string target = "D:\\表計算\\ソフト\\sales.mdb";  // trail bytes 0x5C
  window->SetText(Control::EditDBpath, "shown by no control");  // the logic shows it again below
  window->SetReadOnly(Control::EditDBpath, true);
  window->SetVisible(Control::BitBtnAcExit, true);
  window->SetVisible(Control::BitBtnBackup, false);
  window->SetVisible(Control::ListBoxFontName, true);  // never shown
  window->SetEnabled(Control::BitBtnAcRepair, false);
  window->SetChecked(Control::CboxMDBbak, true);
  window->SetFieldFontFace("TicagoFix");
  EXPECT_TRUE(window->IsReadOnly(Control::EditDBpath));
  EXPECT_TRUE(window->IsVisible(Control::BitBtnAcExit));
  EXPECT_FALSE(window->IsVisible(Control::BitBtnBackup));
  EXPECT_FALSE(window->IsVisible(Control::ListBoxFontName));
  EXPECT_FALSE(window->IsEnabled(Control::BitBtnAcRepair));

  // Showing the window makes the controls at the latest, and the logic then
  // shows the fields' values; the texts the controls get are no user's
  // change.
  EventRecorder events;
  events.view = window.get();
  events.fields.Text(Control::EditDBpath) = target;
  events.fields.Text(Control::EditTitle) = "販売管理";
  events.fields.Text(Control::EditImagePath) = "D:\\表\\logo.bmp";
  events.fields.Ticked(Control::CboxMDBbak) = true;
  window->Attach(&events);
  window->ShowMainWindow(true);
  EXPECT_TRUE(events.used.empty());
  EXPECT_TRUE(events.edited.empty());
  EXPECT_EQ(Text(window->ControlHandle(Control::EditTitle)), "販売管理");
  HWND field = window->ControlHandle(Control::EditDBpath);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(Text(field), target);
  EXPECT_TRUE(GetWindowLongA(field, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongA(window->ControlHandle(Control::EditDate), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(Text(window->ControlHandle(Control::BitBtnAcExit)), "保存終了(&Q)");
  EXPECT_TRUE(IsWindowVisible(window->ControlHandle(Control::BitBtnAcExit)));
  EXPECT_FALSE(IsWindowVisible(window->ControlHandle(Control::BitBtnBackup)));
  EXPECT_FALSE(IsWindowVisible(window->ControlHandle(Control::ListBoxFontName)));
  EXPECT_FALSE(IsWindowEnabled(window->ControlHandle(Control::BitBtnAcRepair)));
  EXPECT_EQ(SendMessageA(window->ControlHandle(Control::CboxMDBbak), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(window->ControlHandle(Control::CboxNonCustom), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(field, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, "TicagoFix");
  // The windows got their icons with the controls.
  EXPECT_NE(SendMessageA(window->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageA(window->ApplicationWindow(), WM_GETICON, ICON_BIG, 0), 0);

  // From now on the controls answer: what the user types reaches the logic.
  SetWindowTextA(window->ControlHandle(Control::EditTitle), "販売");
  EXPECT_EQ(events.edited, (std::vector<std::pair<Control, std::string>>{{Control::EditTitle, "販売"}}));
  window->ShowMainWindow(false);
  window->Attach(nullptr);
}

TEST_F(MainWindowTest, TitlePicturesLoadStretchedAndBadFilesLeaveThePictureAsItWas) {
  HWND image = Ctl(Control::ImageTitle);
  const std::string red = TempPath("red.bmp"), blue = TempPath("blue.bmp"), bad = TempPath("bad.bmp");
  WriteFileBytes(red, BitmapFile(30, 12, RGB(255, 0, 0)));
  WriteFileBytes(blue, BitmapFile(7, 5, RGB(0, 0, 255)));
  WriteFileBytes(bad, "BM this is no bitmap");
  ASSERT_TRUE(window_->LoadTitlePicture(blue, PictureKind::Bitmap));
  EXPECT_TRUE(IsBlue(TitleCentre(image)));

  struct Case {
    std::string path;
    PictureKind kind;
    bool loads;
  };
  const std::string ico = TempPath("red.ico"), wmf = TempPath("red.wmf"), plainWmf = TempPath("plain.wmf"),
                    badWmf = TempPath("bad.wmf"), emf = EmfFile();
  WriteFileBytes(ico, IconFile(RGB(255, 0, 0)));
  WriteFileBytes(wmf, PlaceableWmfBytes());
  WriteFileBytes(plainWmf, PlainWmfBytes());
  WriteFileBytes(badWmf, std::string(64, '\x11'));
  const Case cases[] = {
      {red, PictureKind::Bitmap, true},        {bad, PictureKind::Bitmap, false},
      {ico, PictureKind::Icon, true},          {red, PictureKind::Icon, false},
      {wmf, PictureKind::Metafile, true},      {plainWmf, PictureKind::Metafile, true},
      {emf, PictureKind::Metafile, true},      {badWmf, PictureKind::Metafile, false},
      {red, PictureKind::Unsupported, false},  {TempPath("missing.bmp"), PictureKind::Bitmap, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_TRUE(window_->LoadTitlePicture(blue, PictureKind::Bitmap));
    EXPECT_EQ(window_->LoadTitlePicture(c.path, c.kind), c.loads);
    const COLORREF centre = TitleCentre(image);
    EXPECT_TRUE(c.loads ? IsRed(centre) : IsBlue(centre)) << std::hex << centre;
  }
  for (const std::string& p : {red, blue, bad, ico, wmf, plainWmf, badWmf, emf}) DeleteFileA(p.c_str());
}

TEST_F(MainWindowTest, ApplicationIconLoadsIntoBothWindowsOrStays) {
  const std::string ico = TempPath("app.ico"), bad = TempPath("bad.ico");
  WriteFileBytes(ico, IconFile(RGB(0, 128, 0)));
  WriteFileBytes(bad, "not an icon");
  const LRESULT builtIn = SendMessageA(main_, WM_GETICON, ICON_BIG, 0);
  EXPECT_NE(builtIn, 0);
  EXPECT_FALSE(window_->LoadApplicationIcon(bad));
  EXPECT_EQ(SendMessageA(main_, WM_GETICON, ICON_BIG, 0), builtIn);
  EXPECT_TRUE(window_->LoadApplicationIcon(ico));
  const LRESULT loaded = SendMessageA(main_, WM_GETICON, ICON_BIG, 0);
  EXPECT_NE(loaded, builtIn);
  EXPECT_EQ(SendMessageA(window_->ApplicationWindow(), WM_GETICON, ICON_BIG, 0), loaded);
  EXPECT_NE(SendMessageA(window_->ApplicationWindow(), WM_GETICON, ICON_SMALL, 0), 0);
  DeleteFileA(ico.c_str());
  DeleteFileA(bad.c_str());
}

TEST_F(MainWindowTest, TrayIconComesAndGoes) {
  window_->AddTrayIcon("【販売】稼働中...");
  EXPECT_TRUE(window_->TrayIconShown());
  window_->RemoveTrayIcon();
  EXPECT_FALSE(window_->TrayIconShown());
}

TEST_F(MainWindowTest, PumpingKeepsAQuitForTheMainLoop) {
  PostQuitMessage(7);
  window_->PumpMessages();
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheMessageLoop) {
  window_->ShowMainWindow(true);
  PostMessageA(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(MainWindow::RunMessageLoop(), 0);
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_EQ(window_->Handle(), nullptr);
}

// --- Wait window ------------------------------------------------------------

TEST_F(MainWindowTest, WaitWindowStandsOwnedAndPaintsOnlyItself) {
  const UINT probe = RegisterWindowMessageA("QuandrelViewsProbe");
  PostMessageA(main_, probe, 0, 0);
  window_->SetWaitFactory([](HWND owner) { return WaitWindowView::Open(GetModuleHandleA(nullptr), owner); });
  std::unique_ptr<quandrel::WaitWindow> opened = window_->OpenWaitWindow();
  ASSERT_NE(opened, nullptr);
  auto* wait = static_cast<WaitWindowView*>(opened.get());
  HWND w = wait->Handle();
  EXPECT_EQ(ClassName(w), "TFormSplash");
  EXPECT_EQ(Text(w), "Just Moment, Please");
  EXPECT_EQ(GetWindow(w, GW_OWNER), main_);
  EXPECT_TRUE(IsWindowVisible(w));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, Scaled(333));
  EXPECT_EQ(r.bottom - r.top, Scaled(174));

  wait->ShowProgress(0, 0);  // nothing known yet
  EXPECT_EQ(wait->FilledPixels(), 0);
  wait->ShowProgress(50, 100);
  const int half = wait->FilledPixels();
  EXPECT_GT(half, 0);
  wait->ShowProgress(100, 100);
  EXPECT_NEAR(wait->FilledPixels(), 2 * half, 1);
  wait->ShowProgress(1ULL << 62, 1ULL << 62);  // sizes beyond 32 bits
  EXPECT_NEAR(wait->FilledPixels(), 2 * half, 1);

  // A copy that tells nothing of its progress still shows that it goes on,
  // until its first figure comes.
  const int before = wait->MarqueeSteps();
  wait->ShowProgress(quandrel::kCopyAmountUnknown, 100);
  wait->ShowProgress(quandrel::kCopyAmountUnknown, 100);
  EXPECT_TRUE(wait->Indeterminate());
  EXPECT_EQ(wait->MarqueeSteps(), before + 2);
  wait->ShowProgress(50, 100);
  EXPECT_FALSE(wait->Indeterminate());
  EXPECT_EQ(wait->FilledPixels(), half);

  // No other message of the program was handled meanwhile.
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, main_, probe, probe, PM_NOREMOVE));
  opened.reset();
  EXPECT_FALSE(IsWindow(w));
}

// What another thread does while the copy runs: asks whether the windows
// answer, presses a button and the close box as a program would, and clicks
// a button through the queue as a user would.
struct Visitor {
  HWND main = nullptr, wait = nullptr, sentButton = nullptr, postedButton = nullptr;
  bool waitAnswered = false, mainAnswered = false;
  volatile LONG done = 0;

  static DWORD WINAPI Run(LPVOID self) {
    auto* v = static_cast<Visitor*>(self);
    Sleep(300);  // the copy is well under way
    DWORD_PTR result = 0;
    // Windows' own test for a hung window: a short time-out, given up at once on a hung thread.
    v->waitAnswered = SendMessageTimeoutA(v->wait, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result) != 0;
    v->mainAnswered = SendMessageTimeoutA(v->main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result) != 0;
    SendMessageTimeoutA(v->sentButton, BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &result);
    SendMessageTimeoutA(v->main, WM_CLOSE, 0, 0, SMTO_NORMAL, 2000, &result);
    SendMessageTimeoutA(v->main, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 2000, &result);
    PostMessageA(v->postedButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(v->postedButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(v->main, WM_KEYDOWN, VK_RETURN, 0);  // Enter: the default button
    InterlockedExchange(&v->done, 1);
    return 0;
  }
};

TEST_F(MainWindowTest, DuringALongCopyTheWindowsAnswerAndNoHandlerRuns) {
  EndModeButtons();
  ShowActive();
  window_->SetWaitFactory([](HWND owner) { return WaitWindowView::Open(GetModuleHandleA(nullptr), owner); });
  std::unique_ptr<quandrel::WaitWindow> wait = window_->OpenWaitWindow();
  ASSERT_NE(wait, nullptr);

  Visitor visitor;
  visitor.main = main_;
  visitor.wait = static_cast<WaitWindowView*>(wait.get())->Handle();
  visitor.sentButton = Ctl(Control::BitBtnAcExit);
  visitor.postedButton = Ctl(Control::BitBtnAcQuit);
  HANDLE thread = CreateThread(nullptr, 0, &Visitor::Run, &visitor, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // The copy as the file layer runs it: the engine works on a thread of its
  // own and this one waits for it in ticks, reporting progress at each; the
  // visitor's thread stands in for the engine's and takes its time.
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(thread, 50) == WAIT_TIMEOUT || GetTickCount() - start < 1000) {
    wait->ShowProgress(quandrel::kCopyAmountUnknown, 100);
    ASSERT_LT(GetTickCount() - start, 20000u) << "the visitor never finished";
  }
  CloseHandle(thread);
  ASSERT_EQ(visitor.done, 1);
  EXPECT_TRUE(visitor.waitAnswered);
  EXPECT_TRUE(visitor.mainAnswered);
  EXPECT_TRUE(IsWindow(main_));
  EXPECT_TRUE(events_.empty());

  // The copy is done: the watch loop that follows finds nothing left to run.
  wait.reset();
  window_->PumpMessages();
  EXPECT_TRUE(IsWindow(main_));
  EXPECT_TRUE(events_.empty());
  // The hold went with the wait window.
  SendMessageA(Ctl(Control::BitBtnAcExit), BM_CLICK, 0, 0);
  EXPECT_EQ(events_, std::vector<Control>{Control::BitBtnAcExit});
}

// --- Backup window ----------------------------------------------------------

HWND g_backup = nullptr;
HWND g_owner = nullptr;
bool g_ownerEnabledInside = true;
UINT g_closeMessage = WM_KEYDOWN;
WPARAM g_closeKey = VK_ESCAPE;

void CALLBACK CloseBackupSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_ownerEnabledInside = IsWindowEnabled(g_owner) != FALSE;
  if (g_closeMessage == WM_QUIT) {
    PostQuitMessage(3);
  } else {
    PostMessageA(g_backup, g_closeMessage, g_closeKey, g_closeMessage == WM_SYSKEYDOWN ? (1 << 29) : 0);
  }
}

TEST_F(MainWindowTest, BackupWindowHasACaptionAndNoTitleBarButtons) {
  auto backup = BackupWindow::Create(GetModuleHandleA(nullptr), main_);
  ASSERT_NE(backup, nullptr);
  HWND w = backup->Handle();
  EXPECT_EQ(ClassName(w), "TFormBackUp");
  EXPECT_EQ(Text(w), "システムのバックアップ");
  EXPECT_EQ(GetWindow(w, GW_OWNER), main_);
  EXPECT_FALSE(IsWindowVisible(w)) << "the one made at start stays hidden";
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
  EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, Scaled(528));
  EXPECT_EQ(client.bottom, Scaled(321));
}

struct Ending {
  UINT message;
  WPARAM key;
};

std::string NameOf(const Ending& e) {
  switch (e.message) {
    case WM_KEYDOWN: return "Escape";
    case WM_SYSKEYDOWN: return "AltF4";
    case WM_CLOSE: return "Close";
    default: return "Quit";
  }
}
void PrintTo(const Ending& e, std::ostream* os) { *os << NameOf(e); }

class BackupModalTest : public MainWindowTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(BackupModalTest, ModalShowingDisablesTheOwnerUntilClosed) {
  ShowActive();
  auto backup = BackupWindow::Create(GetModuleHandleA(nullptr), main_);
  ASSERT_NE(backup, nullptr);
  g_backup = backup->Handle();
  g_owner = main_;
  g_ownerEnabledInside = true;
  g_closeMessage = GetParam().message;
  g_closeKey = GetParam().key;
  SetTimer(nullptr, 0, 50, CloseBackupSoon);
  backup->ShowModal();
  EXPECT_FALSE(g_ownerEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_FALSE(IsWindowVisible(backup->Handle()));
  MSG msg{};
  const bool quitSeen = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  EXPECT_EQ(quitSeen, GetParam().message == WM_QUIT) << "a quit met in the modal loop is passed on";
}

INSTANTIATE_TEST_SUITE_P(Endings, BackupModalTest,
                         ::testing::Values(Ending{WM_KEYDOWN, VK_ESCAPE}, Ending{WM_SYSKEYDOWN, VK_F4},
                                           Ending{WM_CLOSE, 0}, Ending{WM_QUIT, 0}),
                         [](const ::testing::TestParamInfo<Ending>& info) { return NameOf(info.param); });

// Finds the window the view opened, then closes it.
void CALLBACK FindAndCloseBackup(HWND, UINT, UINT_PTR id, DWORD) {
  g_backup = FindWindowA("TFormBackUp", nullptr);
  CloseBackupSoon(nullptr, 0, id, 0);
}

TEST_F(MainWindowTest, BackupButtonOpensAModalWindowOwnedByTheMainWindow) {
  ShowActive();
  g_owner = main_;
  g_ownerEnabledInside = true;
  g_closeMessage = WM_CLOSE;
  g_closeKey = 0;
  window_->SetBackupFactory([](HWND owner) { return BackupWindow::Create(GetModuleHandleA(nullptr), owner); });
  SetTimer(nullptr, 0, 50, FindAndCloseBackup);
  window_->OpenBackupWindow();
  EXPECT_NE(g_backup, nullptr);
  EXPECT_FALSE(g_ownerEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_FALSE(IsWindow(g_backup)) << "each opening makes a new window";
}

}  // namespace
