// The backup window end to end: opened from a running Quandrel.exe, its
// controls, a drive choice, the prefix, the return with the options in the
// INI file, and a copy made by the system's own XCOPY (never one beside the
// program) into a drive letter the test maps onto a folder of its own.
#include <gtest/gtest.h>


#include "backup_window/win32/backup_window.h"
#include "driver/launcher.h"
#include "text/sjis.h"

namespace qtest {
namespace {

using quandrel::BackupControl;
using quandrel::win32::BackupWindow;
using C = BackupControl;

bool Checked(HWND control) { return ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A click of the mouse into a control of another process (it takes the focus).
void ClickInto(HWND control) {
  ::PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  ::PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

void SetTextOf(HWND control, const std::string& text) {
  ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The executable's folder without its drive, as the destination holds it.
std::string Tail(const std::string& exe) { return quandrel::text::CutBytes(quandrel::text::FolderPart(exe).substr(2), 100); }

class BackupE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    launcher_.Kill();
  }
  // Starts the launcher without a target (it says so, then comes up in end
  // mode) and presses its backup button: the backup window it opens, or null.
  HWND OpenBackupWindow() {
    launcher_ = Process::Start(exe_);
    if (!AnswerNoTargetBox(launcher_)) return nullptr;
    main_ = WaitMainShown(launcher_);
    if (!main_ || !PressButton(main_, "バックアップ(&B)")) return nullptr;
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND w : TopWindowsOf(launcher_.Id())) {  // the one made at start stays hidden
        if (ClassOf(w) == "TFormBackUp") found = w;
      }
      return found != nullptr;
    });
    return found;
  }
  static HWND Ctl(HWND backup, C c) { return ::GetDlgItem(backup, BackupWindow::ControlId(c)); }
  static HWND Item(HWND backup, char drive) { return ::GetDlgItem(backup, BackupWindow::DriveItemId(drive - 'A')); }

  Sandbox box_{"backup"};
  std::string exe_ = box_.InstallLauncher();
  Process launcher_;
  HWND main_ = nullptr;
};

TEST_F(BackupE2E, OpensInItsDesignAndSavesOnReturn) {
  HWND backup = OpenBackupWindow();
  ASSERT_NE(backup, nullptr);
  EXPECT_EQ(TextOf(backup), "システムのバックアップ");
  EXPECT_EQ(::GetWindow(backup, GW_OWNER), main_);
  EXPECT_FALSE(::IsWindowEnabled(main_)) << "modal";
  EXPECT_FALSE(::GetWindowLongA(backup, GWL_STYLE) & WS_SYSMENU);

  struct Caption {
    C control;
    const char* cls;
    const char* text;
  };
  for (const Caption& c : std::vector<Caption>{
           {C::RadioGroupDrv, "Button", " バックアップﾟ先ドライブ "},
           {C::LabelDrvKind2, "Static", "ドライブの種類"},
           {C::BtnDrvLeft, "Button", "残容量の確認"},
           {C::Label2, "Static", "プレフィックス フォルダ"},
           {C::LabelMulti, "Static", " 日付を基準とした多重化 "},
           {C::CheckBoxMultiDay, "Button", "日付する"},
           {C::CheckBoxMultiOff, "Button", "しない"},
           {C::CheckBoxMultiWeek, "Button", "曜日する"},
           {C::Label1, "Static", " 曜日を基準とした多重化 "},
           {C::LabelSub, "Static", "サブフォルダの扱い"},
           {C::CheckBoxSubOn, "Button", "含む"},
           {C::CheckBoxSubOff, "Button", "不要"},
           {C::Label3, "Static", "同一名ファイル既存の場合"},
           {C::CheckBoxUpDate, "Button", "日時更新"},
           {C::CheckBoxOverWrite, "Button", "強制上書"},
           {C::ButtonGo, "Button", "バックアップ実行(&B)"},
           {C::LabelCopyTo, "Static", "バックアップ先(予定)フォルダ名"},
           {C::BitBtnClose, "Button", "戻る(&Q)"},
           // First use: no drive, so blank drive labels and no destination.
           {C::LabelDrvKind, "Static", "                   "},
           {C::LabelDrvLeft, "Static", "                   "},
           {C::EditPreFix, "Edit", "BackUp"},
           {C::EditCopyTo, "Edit", ""},
       }) {
    HWND h = Ctl(backup, c.control);
    ASSERT_NE(h, nullptr) << c.text;
    EXPECT_EQ(ClassOf(h), c.cls) << c.text;
    EXPECT_EQ(TextOf(h), c.text);
  }
  for (char d = 'A'; d <= 'Z'; ++d) {
    EXPECT_EQ(TextOf(Item(backup, d)), std::string(1, d) + ":");
    EXPECT_FALSE(Checked(Item(backup, d)));
  }
  EXPECT_TRUE(Checked(Ctl(backup, C::CheckBoxMultiOff)));
  EXPECT_TRUE(Checked(Ctl(backup, C::CheckBoxSubOn)));
  EXPECT_TRUE(Checked(Ctl(backup, C::CheckBoxUpDate)));
  EXPECT_EQ(FocusedControl(backup), Ctl(backup, C::ButtonGo));
  // The window made at start ran its creation too, and stays hidden.
  int hidden = 0;
  for (HWND w : TopWindowsOf(launcher_.Id(), false)) {
    if (ClassOf(w) != "TFormBackUp" || w == backup) continue;
    ++hidden;
    EXPECT_FALSE(IsShown(w));
    EXPECT_EQ(TextOf(Ctl(w, C::EditPreFix)), "BackUp");
  }
  EXPECT_EQ(hidden, 1);

  // C: of the Wine prefix is a fixed disk.
  Press(Item(backup, 'C'));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Ctl(backup, C::LabelDrvKind)) == "ハードディスク"; }));
  const std::string free = TextOf(Ctl(backup, C::LabelDrvLeft));
  EXPECT_GT(free.size(), 3u);
  EXPECT_EQ(free.substr(free.size() - 3), " KB");
  const std::string tail = Tail(exe_);
  EXPECT_EQ(TextOf(Ctl(backup, C::EditCopyTo)), "C:\\BackUp" + tail);

  // A prefix typed into the field counts once the focus leaves it.
  ClickInto(Ctl(backup, C::EditPreFix));
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(backup) == Ctl(backup, C::EditPreFix); }));
  SetTextOf(Ctl(backup, C::EditPreFix), "控え表");
  Press(Ctl(backup, C::CheckBoxMultiDay));
  ASSERT_TRUE(WaitUntil([&] { return Checked(Ctl(backup, C::CheckBoxMultiDay)); }));
  // The date folder: "yyyy_mm_dd".
  const std::string dated = TextOf(Ctl(backup, C::EditCopyTo));
  const std::string head = "C:\\控え表" + tail + "\\";
  EXPECT_EQ(dated.substr(0, head.size()), head);
  EXPECT_EQ(dated.size(), head.size() + 10) << dated;
  EXPECT_FALSE(Checked(Ctl(backup, C::CheckBoxMultiOff)));
  Press(Ctl(backup, C::CheckBoxSubOn));
  ASSERT_TRUE(WaitUntil([&] { return Checked(Ctl(backup, C::CheckBoxSubOff)); }));
  EXPECT_FALSE(Checked(Ctl(backup, C::CheckBoxSubOn)));
  SaveScreenshot("backup-window");

  ASSERT_TRUE(PressButton(backup, "戻る(&Q)"));
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(backup); }));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main_) != FALSE; }));
  auto ini = ReadBytes(box_.Path("Quandrel.INI"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniLines(*ini), (std::vector<std::string>{"[BackUp]", "Multi=Day", "SubFolder=No", "Drive=C:",
                                                    "PreFix=控え表", "UpDate=Yes"}));

  // A new window reads them back.
  ASSERT_TRUE(PressButton(main_, "バックアップ(&B)"));
  HWND again = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND w : TopWindowsOf(launcher_.Id())) {
      if (ClassOf(w) == "TFormBackUp") again = w;
    }
    return again != nullptr;
  }));
  EXPECT_EQ(TextOf(Ctl(again, C::EditPreFix)), "控え表");
  EXPECT_TRUE(Checked(Item(again, 'C')));
  EXPECT_EQ(TextOf(Ctl(again, C::LabelDrvKind)), "ハードディスク");
  EXPECT_EQ(TextOf(Ctl(again, C::EditCopyTo)), dated);
  ASSERT_TRUE(PressButton(again, "戻る(&Q)"));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main_) != FALSE; }));
  EXPECT_EQ(CloseLauncher(launcher_, main_), std::optional<DWORD>(0));
}

TEST_F(BackupE2E, EmptyPrefixIsRefused) {
  box_.WriteIni("[BackUp]\nDrive=C:\nPreFix=Mine\n");
  HWND backup = OpenBackupWindow();
  ASSERT_NE(backup, nullptr);
  HWND prefix = Ctl(backup, C::EditPreFix);
  ClickInto(prefix);
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(backup) == prefix; }));
  SetTextOf(prefix, "");
  Press(Ctl(backup, C::CheckBoxUpDate));  // the focus leaves the field
  auto box = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "エラー");
  EXPECT_EQ(box->text,
            "\nPreFix設定は削除できません。\n\nルート直下へのバックアップ（コピー元と全く同じ構造）を希望する時は、\n\n"
            "【\"\"】（半角ダブルクォーテーション２つ）を入れて下さい。\n");
  EXPECT_EQ(::GetWindow(box->window, GW_OWNER), backup);
  ASSERT_TRUE(Answer(*box, "OK"));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(prefix) == "BackUp"; }));
  const std::string tail = Tail(exe_);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Ctl(backup, C::EditCopyTo)) == "C:\\BackUp" + tail; }));
  ASSERT_TRUE(PressButton(backup, "戻る(&Q)"));
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(backup); }));
  auto ini = ReadBytes(box_.Path("Quandrel.INI"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_NE(ini->find("PreFix=BackUp\r\n"), std::string::npos);
}

TEST_F(BackupE2E, CopyRunsSystemXcopy) {
  // The program's folder: the launcher, a database, a subfolder, and an
  // Xcopy.exe that someone dropped there, which must not run.
  Sandbox source("販売表");
  const std::string exe = source.InstallLauncher();
  WriteBytes(source.Path("sales.mdb"), "database bytes");
  const std::string planted = source.Path("Xcopy.exe");
  ASSERT_TRUE(::CopyFileA(StandInExe("standin_planted").c_str(), planted.c_str(), FALSE));
  // Wine would run its built-in XCOPY for any file of that name; with this
  // the launcher runs whichever xcopy.exe it finds, as Windows does.
  ::SetEnvironmentVariableA("WINEDLLOVERRIDES", "mscoree,mshtml=;xcopy.exe=n");
  ASSERT_TRUE(::CreateDirectoryA(source.Path("ソフト").c_str(), nullptr));
  WriteBytes(source.Path("ソフト\\memo.txt"), "memo");
  MappedDrive mapped(box_.Dir());
  const char drive = mapped.Letter();
  ASSERT_NE(drive, 0) << "no drive letter could be mapped";
  source.WriteIni("[BackUp]\nDrive=" + std::string(1, drive) + ":\nPreFix=控え\n");
  exe_ = exe;

  HWND backup = OpenBackupWindow();
  ASSERT_NE(backup, nullptr);
  const std::string dest = std::string(1, drive) + ":\\控え" + Tail(exe);
  EXPECT_EQ(TextOf(Ctl(backup, C::EditCopyTo)), dest);
  EXPECT_EQ(TextOf(Ctl(backup, C::LabelDrvKind)), "ハードディスク");

  ASSERT_TRUE(PressButton(backup, "バックアップ実行(&B)"));
  const std::string copied = box_.Path("控え" + Tail(exe));
  auto exeBytes = ReadBytes(exe);
  ASSERT_TRUE(exeBytes.has_value());
  EXPECT_TRUE(WaitUntil(
      [&] {
        return ReadBytes(copied + "\\sales.mdb") == std::optional<std::string>("database bytes") &&
               ReadBytes(copied + "\\ソフト\\memo.txt") == std::optional<std::string>("memo") &&
               ReadBytes(copied + "\\Quandrel.exe") == exeBytes;
      },
      60000))
      << "XCOPY made no complete copy in " << copied;
  EXPECT_FALSE(ReadBytes(planted + ".ran").has_value()) << "the Xcopy.exe beside the program ran";
  ::SetEnvironmentVariableA("WINEDLLOVERRIDES", "mscoree,mshtml=");
  EXPECT_TRUE(IsShown(backup)) << "the window stays open";
  ASSERT_TRUE(PressButton(backup, "戻る(&Q)"));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main_) != FALSE; }));
  EXPECT_EQ(CloseLauncher(launcher_, main_), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace qtest
