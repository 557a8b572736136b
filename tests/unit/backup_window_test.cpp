// BackupWindowLogic over fakes: the executable is C:\Apps\Sales\Menu.exe, today
// is 2024/03/05, a Tuesday.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backup_window/backup_window_logic.h"
#include "fakes/fake_backup_view.h"
#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"

namespace quandrel {
namespace {

using C = BackupControl;

const char kExe[] = "C:\\Apps\\Sales\\Menu.exe";
const char kIni[] = "C:\\Apps\\Sales\\Menu.INI";
const std::string kBlanks(19, ' ');
const char kPrefixMessage[] =
    "error: \nPreFix設定は削除できません。\n\nルート直下へのバックアップ（コピー元と全く同じ構造）を希望する時は、"
    "\n\n【\"\"】（半角ダブルクォーテーション２つ）を入れて下さい。\n";

std::vector<std::string> AllDrives() {
  std::vector<std::string> names;
  for (char d = 'A'; d <= 'Z'; ++d) names.push_back(std::string(1, d) + ":");
  return names;
}

class FormBackupTest : public ::testing::Test {
 protected:
  fakes::FakeFiles files;
  fakes::FakeProcesses processes;
  fakes::FakeDesktop desktop;
  fakes::FakeDialogs dialogs;
  fakes::FakeSystem system;
  fakes::FakeBackupView view;
  fakes::FakeRegistry registry;
  Platform platform{files, registry, processes, desktop, dialogs, system};
  std::unique_ptr<BackupWindowLogic> form;

  FormBackupTest() {
    system.executablePath = kExe;
    system.shortDate = "2024/03/05";
    system.weekday = 3;
    files.AddFolder("C:\\Apps\\Sales");
    desktop.driveTypes["C:\\"] = 3;
    desktop.freeBytes["C:\\"] = 123456789;
    desktop.driveTypes["E:\\"] = 2;
    desktop.driveTypes["Q:\\"] = 5;
  }

  void Create(const std::string& backupSection = "") {
    if (!backupSection.empty()) files.Put(kIni, "[BackUp]\r\n" + backupSection);
    form = std::make_unique<BackupWindowLogic>(platform, view, AllDrives(), kIni);
    form->LoadAndShowOptions();
  }
  // A click on a drive item: the view chooses it, then runs the handler.
  void ClickDrive(int item) {
    view.ChooseDrive(item);
    form->DriveChosen();
  }
  // A click on a box: the box flips, then its handler runs.
  void Click(C box) {
    view.Flip(box);
    switch (box) {
      case C::CheckBoxSubOn: form->CheckBoxSubOnClick(); break;
      case C::CheckBoxSubOff: form->CheckBoxSubOffClick(); break;
      case C::CheckBoxUpDate: form->CheckBoxUpDateClick(); break;
      case C::CheckBoxOverWrite: form->CheckBoxOverWriteClick(); break;
      case C::CheckBoxMultiDay: form->CheckBoxMultiDayClick(); break;
      case C::CheckBoxMultiOff: form->CheckBoxMultiOffClick(); break;
      case C::CheckBoxMultiWeek: form->CheckBoxMultiWeekClick(); break;
      default: FAIL() << "not a box";
    }
  }
  std::vector<C> Ticked() const {
    std::vector<C> ticked;
    for (C c : {C::CheckBoxMultiDay, C::CheckBoxMultiOff, C::CheckBoxMultiWeek, C::CheckBoxSubOn, C::CheckBoxSubOff,
                C::CheckBoxUpDate, C::CheckBoxOverWrite}) {
      if (view.IsChecked(c)) ticked.push_back(c);
    }
    return ticked;
  }
  std::string Destination() const { return view.GetText(C::EditCopyTo); }
  std::string Saved() const { return files.Get(kIni).value_or("(no file)"); }
};

TEST_F(FormBackupTest, FirstUseShowsTheDesignStateAndTheDefaultPrefix) {
  files.SetCurrentDirectoryForTest("D:\\Elsewhere");
  Create();
  EXPECT_EQ(files.CurrentDirectory(), "C:\\Apps\\Sales");
  EXPECT_EQ(Ticked(), (std::vector<C>{C::CheckBoxMultiOff, C::CheckBoxSubOn, C::CheckBoxUpDate}));
  EXPECT_EQ(view.ChosenDrive(), std::nullopt);
  EXPECT_EQ(view.GetText(C::EditPreFix), "BackUp");
  EXPECT_EQ(Destination(), "");
  EXPECT_EQ(view.GetText(C::LabelDrvKind), kBlanks);
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), kBlanks);
  EXPECT_EQ(form->DateName(), "2024_03_05");
  EXPECT_EQ(form->WeekdayName(), "(3)_火曜");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(files.Has(kIni)) << "creation writes nothing";
}

struct Example {
  std::string section;
  std::string destination;
};

TEST_F(FormBackupTest, DestinationsOfTheStoredOptions) {
  for (const Example& e : std::vector<Example>{
           {"Drive=E:\r\nPreFix=BackUp\r\nMulti=No\r\n", "E:\\BackUp\\Apps\\Sales"},
           {"Drive=E:\r\nPreFix=BackUp\r\nMulti=Day\r\n", "E:\\BackUp\\Apps\\Sales\\2024_03_05"},
           {"Drive=E:\r\nPreFix=BackUp\r\nMulti=Week\r\n", "E:\\BackUp\\Apps\\Sales\\(3)_火曜"},
           {"Drive=E:\r\nPreFix=\"\"\r\nMulti=No\r\n", "E:\\Apps\\Sales"},
           {"Drive=E:\r\nPreFix=\"\"\r\nMulti=Week\r\n", "E:\\Apps\\Sales\\(3)_火曜"},
           {"Drive=Z:\r\nPreFix=控え\r\n", "Z:\\控え\\Apps\\Sales"},
       }) {
    view = fakes::FakeBackupView();
    Create(e.section);
    EXPECT_EQ(Destination(), e.destination) << e.section;
  }
}

TEST_F(FormBackupTest, ExecutableInADriveRoot) {
  system.executablePath = "C:\\Menu.exe";
  files.Put("C:\\Menu.INI", "[BackUp]\r\nDrive=E:\r\n");
  form = std::make_unique<BackupWindowLogic>(platform, view, AllDrives(), "C:\\Menu.INI");
  form->LoadAndShowOptions();
  EXPECT_EQ(files.CurrentDirectory(), "C:\\");
  EXPECT_EQ(Destination(), "E:\\BackUp\\");
  view.SetText(C::EditPreFix, "\"\"");
  form->PrefixFocusChanged();
  EXPECT_EQ(Destination(), "E:\\");
}

TEST_F(FormBackupTest, StoredHardDiskShowsItsKindAndFreeSpaceAtOnce) {
  Create("Drive=C:\r\n");
  EXPECT_EQ(view.ChosenDrive(), 2);
  EXPECT_EQ(view.GetText(C::LabelDrvKind), "ハードディスク");
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), "120,563 KB");
}

TEST_F(FormBackupTest, StoredCdRomShowsNoFreeSpaceUntilAsked) {
  Create("Drive=Q:\r\n");
  EXPECT_EQ(view.GetText(C::LabelDrvKind), "ＣＤ－ＲＯＭ");
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), "");
  // No disc: the query fails.
  form->ShowFreeSpace();
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), " KB");
  desktop.freeBytes["Q:\\"] = 2048;
  form->ShowFreeSpace();
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), "2 KB");
  EXPECT_EQ(view.GetText(C::LabelDrvKind), "ＣＤ－ＲＯＭ");
}

TEST_F(FormBackupTest, DriveClickShowsKindRebuildsAndReturnsToTheExecutableFolder) {
  Create();
  files.SetCurrentDirectoryForTest("E:\\");
  ClickDrive(4);  // E:, removable
  EXPECT_EQ(view.GetText(C::LabelDrvKind), "フロッピー・ＭＯ等");
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), "");
  EXPECT_EQ(Destination(), "E:\\BackUp\\Apps\\Sales");
  EXPECT_EQ(files.CurrentDirectory(), "C:\\Apps\\Sales");

  ClickDrive(3);  // D:, nothing behind it
  EXPECT_EQ(view.GetText(C::LabelDrvKind), "不明デバイス");
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), "");
  EXPECT_EQ(Destination(), "D:\\BackUp\\Apps\\Sales");

  ClickDrive(2);
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), "120,563 KB");
  // A type outside the table leaves both labels as they were.
  desktop.driveTypes["F:\\"] = 7;
  ClickDrive(5);
  EXPECT_EQ(view.GetText(C::LabelDrvKind), "ハードディスク");
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), "120,563 KB");
  EXPECT_EQ(Destination(), "F:\\BackUp\\Apps\\Sales");
}

TEST_F(FormBackupTest, FreeSpaceButtonWithoutADriveDoesNothing) {
  Create();
  form->ShowFreeSpace();
  EXPECT_EQ(view.GetText(C::LabelDrvLeft), kBlanks);
  EXPECT_EQ(Destination(), "");
}

TEST_F(FormBackupTest, PairsKeepExactlyOneBoxTickedAndLeaveTheDestination) {
  Create("Drive=E:\r\n");
  view.SetText(C::EditCopyTo, "X:\\typed");
  Click(C::CheckBoxSubOn);  // the ticked one
  EXPECT_EQ(Ticked(), (std::vector<C>{C::CheckBoxMultiOff, C::CheckBoxSubOff, C::CheckBoxUpDate}));
  Click(C::CheckBoxSubOff);
  EXPECT_EQ(Ticked(), (std::vector<C>{C::CheckBoxMultiOff, C::CheckBoxSubOn, C::CheckBoxUpDate}));
  Click(C::CheckBoxSubOff);  // the unticked one
  EXPECT_EQ(Ticked(), (std::vector<C>{C::CheckBoxMultiOff, C::CheckBoxSubOff, C::CheckBoxUpDate}));
  Click(C::CheckBoxOverWrite);
  EXPECT_EQ(Ticked(), (std::vector<C>{C::CheckBoxMultiOff, C::CheckBoxSubOff, C::CheckBoxOverWrite}));
  Click(C::CheckBoxOverWrite);
  EXPECT_EQ(Ticked(), (std::vector<C>{C::CheckBoxMultiOff, C::CheckBoxSubOff, C::CheckBoxUpDate}));
  Click(C::CheckBoxUpDate);
  EXPECT_EQ(Ticked(), (std::vector<C>{C::CheckBoxMultiOff, C::CheckBoxSubOff, C::CheckBoxOverWrite}));
  EXPECT_EQ(Destination(), "X:\\typed");
}

TEST_F(FormBackupTest, MultiplexingKeepsExactlyOneBoxAndRebuilds) {
  Create("Drive=E:\r\n");
  struct Step {
    C click;
    C ticked;
    std::string destination;
  };
  for (const Step& s : std::vector<Step>{
           {C::CheckBoxMultiDay, C::CheckBoxMultiDay, "E:\\BackUp\\Apps\\Sales\\2024_03_05"},
           // Straight from the date to the weekday and back.
           {C::CheckBoxMultiWeek, C::CheckBoxMultiWeek, "E:\\BackUp\\Apps\\Sales\\(3)_火曜"},
           {C::CheckBoxMultiDay, C::CheckBoxMultiDay, "E:\\BackUp\\Apps\\Sales\\2024_03_05"},
           // A click on the ticked one goes back to neither.
           {C::CheckBoxMultiDay, C::CheckBoxMultiOff, "E:\\BackUp\\Apps\\Sales"},
           {C::CheckBoxMultiWeek, C::CheckBoxMultiWeek, "E:\\BackUp\\Apps\\Sales\\(3)_火曜"},
           {C::CheckBoxMultiWeek, C::CheckBoxMultiOff, "E:\\BackUp\\Apps\\Sales"},
           // "しない" stays ticked whatever its state was.
           {C::CheckBoxMultiOff, C::CheckBoxMultiOff, "E:\\BackUp\\Apps\\Sales"},
           {C::CheckBoxMultiWeek, C::CheckBoxMultiWeek, "E:\\BackUp\\Apps\\Sales\\(3)_火曜"},
           {C::CheckBoxMultiOff, C::CheckBoxMultiOff, "E:\\BackUp\\Apps\\Sales"},
       }) {
    view.SetText(C::EditCopyTo, "X:\\typed");  // replaced by every rebuild
    Click(s.click);
    EXPECT_EQ(Ticked(), (std::vector<C>{s.ticked, C::CheckBoxSubOn, C::CheckBoxUpDate}));
    EXPECT_EQ(Destination(), s.destination);
  }
}

TEST_F(FormBackupTest, DateAndWeekdayStayThoseOfTheOpening) {
  Create("Drive=E:\r\n");
  system.shortDate = "2024/03/06";
  system.weekday = 4;
  Click(C::CheckBoxMultiDay);
  EXPECT_EQ(Destination(), "E:\\BackUp\\Apps\\Sales\\2024_03_05");
  Click(C::CheckBoxMultiWeek);
  EXPECT_EQ(Destination(), "E:\\BackUp\\Apps\\Sales\\(3)_火曜");
}

TEST_F(FormBackupTest, WithoutADriveTheDestinationFieldKeepsItsText) {
  Create();
  view.SetText(C::EditCopyTo, "X:\\typed");
  Click(C::CheckBoxMultiDay);
  view.SetText(C::EditPreFix, "Other");
  form->PrefixFocusChanged();
  EXPECT_EQ(Destination(), "X:\\typed");
}

TEST_F(FormBackupTest, EmptyPrefixIsRefusedAndReplaced) {
  Create("Drive=E:\r\nPreFix=Mine\r\n");
  view.SetText(C::EditPreFix, "");
  form->PrefixFocusChanged();
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{kPrefixMessage}));
  EXPECT_EQ(view.GetText(C::EditPreFix), "BackUp");
  EXPECT_EQ(Destination(), "E:\\BackUp\\Apps\\Sales");
}

TEST_F(FormBackupTest, LeavingThePrefixRebuildsWithIt) {
  Create("Drive=E:\r\n");
  view.SetText(C::EditPreFix, " 控え ");
  EXPECT_EQ(Destination(), "E:\\BackUp\\Apps\\Sales") << "typing alone rebuilds nothing";
  form->PrefixFocusChanged();
  EXPECT_EQ(Destination(), "E:\\ 控え \\Apps\\Sales");
  view.SetText(C::EditPreFix, "\"\"");
  form->PrefixFocusChanged();
  EXPECT_EQ(Destination(), "E:\\Apps\\Sales");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FormBackupTest, CopyStartsXcopyWithTheFieldAsItStands) {
  Create("Drive=E:\r\nMulti=Day\r\n");
  form->StartCopy();
  ASSERT_EQ(processes.shellOpened.size(), 1u);
  EXPECT_EQ(processes.shellOpened[0].owner, fakes::FakeBackupView::kHandle);
  EXPECT_EQ(processes.shellOpened[0].file, "C:\\Windows\\system32\\xcopy.exe") << "by the system's path, never a bare name";
  EXPECT_EQ(processes.shellOpened[0].parameters,
            R"("C:\Apps\Sales" "E:\BackUp\Apps\Sales\2024_03_05\" /C /F /D /E)");

  // A hand-typed destination and the other boxes of the pairs.
  view.SetText(C::EditCopyTo, "E:\\手入力\\表");
  Click(C::CheckBoxSubOn);
  Click(C::CheckBoxOverWrite);
  form->StartCopy();
  ASSERT_EQ(processes.shellOpened.size(), 2u);
  EXPECT_EQ(processes.shellOpened[1].parameters, "\"C:\\Apps\\Sales\" \"E:\\手入力\\表\\\" /C /F");

  Click(C::CheckBoxSubOff);
  form->StartCopy();
  EXPECT_EQ(processes.shellOpened[2].parameters, "\"C:\\Apps\\Sales\" \"E:\\手入力\\表\\\" /C /F /E");

  EXPECT_FALSE(view.closed);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Saved(), "[BackUp]\r\nDrive=E:\r\nMulti=Day\r\n") << "the copy saves no options";
}

TEST_F(FormBackupTest, CopyWithoutADestinationIsRefused) {
  Create();
  form->StartCopy();
  view.SetText(C::EditCopyTo, "E:\\typed");
  form->StartCopy();  // still no drive chosen
  ClickDrive(4);
  view.SetText(C::EditCopyTo, "");
  form->StartCopy();
  EXPECT_TRUE(processes.shellOpened.empty());
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"error: バックアップ先ドライブを選んで下さい。",
                                                     "error: バックアップ先ドライブを選んで下さい。",
                                                     "error: バックアップ先フォルダ名を指定して下さい。"}));
}

TEST_F(FormBackupTest, FailedStartOfXcopyIsReported) {
  Create("Drive=E:\r\n");
  processes.failShellOpenWith = 2;
  form->StartCopy();
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{
                               "error: C:\\Windows\\system32\\xcopy.exe を起動できません\n\n指定されたファイルが見つかりません。"}));
  EXPECT_FALSE(view.closed);
}

TEST_F(FormBackupTest, UnknownSystemDirectoryStartsNothing) {
  // A bare "xcopy.exe" would be looked for in the program's folder first.
  Create("Drive=E:\r\n");
  system.systemDirectory = "";
  form->StartCopy();
  EXPECT_TRUE(processes.shellOpened.empty());
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"error: xcopy.exe を起動できません"}));
  EXPECT_FALSE(view.closed);
}

TEST_F(FormBackupTest, ReturnSavesTheOptionsInOrderAndCloses) {
  files.Put(kIni, "[Execute]\r\nDBPath=sales.mdb\r\n");
  Create();
  ClickDrive(4);
  Click(C::CheckBoxMultiWeek);
  Click(C::CheckBoxSubOff);
  Click(C::CheckBoxOverWrite);
  view.SetText(C::EditPreFix, "控え表");
  form->SaveOptionsAndClose();
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(Saved(),
            "[Execute]\r\nDBPath=sales.mdb\r\n"
            "[BackUp]\r\nMulti=Week\r\nSubFolder=No\r\nDrive=E:\r\nPreFix=控え表\r\nUpDate=No\r\n");
}

struct LoadSave {
  std::string stored;  // the BackUp section
  std::vector<C> ticked;
  std::optional<int> drive;
  std::string prefix;
  std::vector<std::string> saved;  // lines after an untouched return
};

TEST_F(FormBackupTest, StoredValuesLoadAndSaveBackByTheRules) {
  const std::vector<C> standard = {C::CheckBoxMultiOff, C::CheckBoxSubOn, C::CheckBoxUpDate};
  for (const LoadSave& c : std::vector<LoadSave>{
           {"Multi=Yes\r\n", {C::CheckBoxMultiDay, C::CheckBoxSubOn, C::CheckBoxUpDate}, std::nullopt, "BackUp",
            {"Multi=Day"}},
           {"Multi=week\r\nSubFolder=no\r\n", standard, std::nullopt, "BackUp", {"Multi=No", "SubFolder=Yes"}},
           {"UpDate=\r\nSubFolder=No\r\n", {C::CheckBoxMultiOff, C::CheckBoxSubOff, C::CheckBoxOverWrite},
            std::nullopt, "BackUp", {"UpDate=No", "SubFolder=No"}},
           {"UpDate=yes\r\n", {C::CheckBoxMultiOff, C::CheckBoxSubOn, C::CheckBoxOverWrite}, std::nullopt, "BackUp",
            {"UpDate=No"}},
           {"Drive=e:\r\n", standard, std::nullopt, "BackUp", {"Drive=e:"}},
           {"Drive=E\r\n", standard, std::nullopt, "BackUp", {"Drive=E"}},
           {"PreFix=\"\"\r\nDrive=C:\r\n", standard, 2, "\"\"", {"PreFix=\"\"", "Drive=C:"}},
           {"PreFix=\r\nMulti=Week\r\n", {C::CheckBoxMultiWeek, C::CheckBoxSubOn, C::CheckBoxUpDate},
            std::nullopt, "BackUp", {"PreFix=BackUp", "Multi=Week"}},
       }) {
    view = fakes::FakeBackupView();
    Create(c.stored);
    EXPECT_EQ(Ticked(), c.ticked) << c.stored;
    EXPECT_EQ(view.ChosenDrive(), c.drive) << c.stored;
    EXPECT_EQ(view.GetText(C::EditPreFix), c.prefix) << c.stored;
    if (!c.drive) {
      EXPECT_EQ(Destination(), "") << c.stored;
    }
    form->SaveOptionsAndClose();
    for (const std::string& line : c.saved) {
      EXPECT_NE(Saved().find("\r\n" + line + "\r\n"), std::string::npos) << c.stored << " saves " << line;
    }
  }
}

TEST_F(FormBackupTest, ReturnWithAnEmptyPrefixWritesTheLoadedOne) {
  // The field can be empty only when the focus never left it.
  Create("PreFix=\"\"\r\n");
  view.SetText(C::EditPreFix, "");
  form->SaveOptionsAndClose();
  EXPECT_NE(Saved().find("PreFix=\"\"\r\n"), std::string::npos);
  EXPECT_TRUE(view.closed);
}

TEST_F(FormBackupTest, ReopeningShowsWhatTheReturnSaved) {
  Create();
  ClickDrive(2);
  view.SetText(C::EditPreFix, "\"\"");
  form->PrefixFocusChanged();
  Click(C::CheckBoxMultiDay);
  form->SaveOptionsAndClose();
  view = fakes::FakeBackupView();
  form = std::make_unique<BackupWindowLogic>(platform, view, AllDrives(), kIni);
  form->LoadAndShowOptions();
  EXPECT_EQ(view.GetText(C::EditPreFix), "\"\"");
  EXPECT_EQ(Destination(), "C:\\Apps\\Sales\\2024_03_05");
  EXPECT_EQ(view.GetText(C::LabelDrvKind), "ハードディスク");
}

TEST_F(FormBackupTest, FailedSaveIsShownAndKeepsTheWindowOpen) {
  Create("Drive=E:\r\n");
  files.Lock(kIni, os_error::kAccessDenied);
  form->SaveOptionsAndClose();
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"error: C:\\Apps\\Sales\\Menu.INI に書き込めません\n\nアクセスが拒否されました。"}));
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(Saved(), "[BackUp]\r\nDrive=E:\r\n");
  // The user can try again once the file can be written.
  files.Unlock(kIni);
  form->SaveOptionsAndClose();
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(Saved(), "[BackUp]\r\nDrive=E:\r\nMulti=No\r\nSubFolder=Yes\r\nPreFix=BackUp\r\nUpDate=Yes\r\n");
}

}  // namespace
}  // namespace quandrel
