// Compaction and repair through Microsoft Access: the command lines, which
// entries of the target's folder are offered, and what the two buttons
// start, ask and show, in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lock_record.h"
#include "main_window_fixture.h"
#include "launch/maintenance.h"

namespace quandrel::testing {
namespace {

using C = Control;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// ---------------------------------------------------------------------------
// The pure rules

TEST(AccessCommandLineTest, QuotesBothPathsAndAppendsTheSwitch) {
  EXPECT_EQ(AccessCommandLine("C:\\Office\\MSACCESS.EXE", "D:\\DB\\SALES.MDB", AccessJob::Compact),
            "\"C:\\Office\\MSACCESS.EXE\" \"D:\\DB\\SALES.MDB\" /Compact");
  EXPECT_EQ(AccessCommandLine("C:\\Program Files\\MSACCESS.EXE", "D:\\顧客 表\\売上.mdb", AccessJob::Repair),
            "\"C:\\Program Files\\MSACCESS.EXE\" \"D:\\顧客 表\\売上.mdb\" /Repair");
  // With no Access path the line still has its shape (it is never started so).
  EXPECT_EQ(AccessCommandLine("", "x.mdb", AccessJob::Compact), "\"\" \"x.mdb\" /Compact");
}

TEST(TargetFolderTest, KeepsEverythingBeforeTheFileName) {
  const std::map<std::string, std::string> cases = {
      {"D:\\DB\\SALES.MDB", "D:\\DB\\"},
      {"D:\\SALES.MDB", "D:\\"},
      {"D:SALES.MDB", "D:"},
      {"SALES.MDB", ""},
      {"\\\\server\\share\\SALES.MDB", "\\\\server\\share\\"},
      // A 0x5C trail byte (表, ソ) is part of the folder's name, not a separator.
      {"D:\\表\\ソフト.MDB", "D:\\表\\"},
  };
  for (const auto& [target, folder] : cases) {
    EXPECT_EQ(TargetFolder(target), folder) << target;
    EXPECT_EQ(SameFolderPattern(target), folder + "*") << target;
  }
}

TEST(OffersEntryTest, SkipsTheTargetAndAnythingNotNamedMdbOrAccdb) {
  struct Case {
    const char* entry;
    const char* target;
    bool offered;
  };
  const Case cases[] = {
      {"A.MDB", "D:\\DB\\SALES.MDB", true},
      {"a.mdb", "D:\\DB\\SALES.MDB", true},
      {"OLD.MDB", "D:\\DB\\SALES.MDB", true},
      {"SALES.MDB", "D:\\DB\\SALES.MDB", false},
      // The search reports the name as stored, the target may be typed otherwise.
      {"SALES.MDB", "c:\\data\\sales.mdb", false},
      {"sales.mdb", "C:\\DATA\\SALES.MDB", false},
      {"SALES.MDB", "SALES.MDB", false},
      // Snapshot, backup copy, and long names matched through an 8.3 alias.
      {"SALES.MDB.TMP", "D:\\DB\\SALES.MDB", false},
      {"SALES.MDB.BAK", "D:\\DB\\SALES.MDB", false},
      {"SALES.MDBX", "D:\\DB\\SALES.MDB", false},
      {"売上表.mdb", "D:\\DB\\売上表.MDB", false},
      {"売上.mdb", "D:\\DB\\売上表.MDB", true},
      // The names are compared upper-cased byte by byte, trail bytes too:
      // ヂ (83 61) folds onto ア (83 41).
      {"ア.MDB", "D:\\DB\\ヂ.MDB", false},
      // Both kinds of database, beside a target of either kind.
      {"B.ACCDB", "D:\\DB\\SALES.MDB", true},
      {"b.accdb", "D:\\DB\\SALES.ACCDB", true},
      {"A.MDB", "D:\\DB\\SALES.ACCDB", true},
      {"SALES.ACCDB", "D:\\DB\\sales.accdb", false},
      {"SALES.ACCDB.TMP", "D:\\DB\\SALES.ACCDB", false},
      {"SALES.ACC", "D:\\DB\\SALES.MDB", false},
      {"SALES.ACCDBX", "D:\\DB\\SALES.MDB", false},
      {"SALES.LACCDB", "D:\\DB\\SALES.ACCDB", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OffersEntry(c.entry, c.target), c.offered) << c.entry << " beside " << c.target;
  }
}

// Office registers Access in the registry view of its own bitness, which
// need not be the launcher's: the own view is asked first, the other one
// only when the own one names no path.
TEST(LookUpAccessTest, OwnViewFirstThenTheOther) {
  using V = RegistryView;
  struct Case {
    const char* name;
    std::optional<std::string> own, other;  // the key's default value; none: no key
    std::string found;
    std::vector<V> asked;
  };
  const Case cases[] = {
      {"own view only", "C:\\Own\\MSACCESS.EXE", std::nullopt, "C:\\Own\\MSACCESS.EXE", {V::Own}},
      {"other view only", std::nullopt, "C:\\Other\\MSACCESS.EXE", "C:\\Other\\MSACCESS.EXE", {V::Own, V::Other}},
      {"both views: the own one", "C:\\Own\\MSACCESS.EXE", "C:\\Other\\MSACCESS.EXE", "C:\\Own\\MSACCESS.EXE",
       {V::Own}},
      {"own key without a path", "", "C:\\Other\\MSACCESS.EXE", "C:\\Other\\MSACCESS.EXE", {V::Own, V::Other}},
      {"neither view", std::nullopt, std::nullopt, "", {V::Own, V::Other}},
      {"both keys without a path", "", "", "", {V::Own, V::Other}},
  };
  for (const Case& c : cases) {
    fakes::FakeRegistry registry;
    if (c.own) registry.SetKey(Hive::LocalMachine, kAccessAppPathKey, *c.own, V::Own);
    if (c.other) registry.SetKey(Hive::LocalMachine, kAccessAppPathKey, *c.other, V::Other);
    std::string path;
    EXPECT_EQ(LookUpAccess(registry, &path), !c.found.empty()) << c.name;
    EXPECT_EQ(path, c.found) << c.name;
    EXPECT_EQ(registry.openedViews, c.asked) << c.name;
    EXPECT_THAT(registry.opened, ::testing::Each(std::string(kAccessAppPathKey))) << c.name;
  }
}

TEST(MaintenanceTextTest, MessagesCarryTheNamesBetweenBlanks) {
  EXPECT_EQ(CompactionDoneMessage("D:\\表\\ソフト.MDB"), "「 ソフト.MDB 」の最適化が終了しました。");
  EXPECT_EQ(OtherFileQuestion("A.MDB"),
            "同一フォルダの別ファイルを探しています。\n\n「 A.MDB 」が同一フォルダに見つかりました\n\n"
            "このファイルも最適化しますか？\n\n");
}

// ---------------------------------------------------------------------------
// The buttons

const char kAccessExe[] = "C:\\Office\\MSACCESS.EXE";
const char kNotFound[] =
    "error: Microsoft Access が見つかりません\n\nこのコンピュータには MSACCESS.EXE が登録されていません";
const char kOver[] = "message: \n\n以上で最適化処理を終了します。";

std::string StartCompact(const std::string& db, const std::string& access = kAccessExe) {
  return "start \"" + access + "\" \"" + db + "\" /Compact";
}
std::string StartRepair(const std::string& db, const std::string& access = kAccessExe) {
  return "start \"" + access + "\" \"" + db + "\" /Repair";
}
std::string Asked(const std::string& name) { return "confirm3: " + OtherFileQuestion(name); }

// D:\Work\sales.mdb after its first run, with its snapshot beside it, and
// Access registered.
class MaintenanceTest : public FormMainTest {
 protected:
  void SetUp() override {
    registry.SetKey(Hive::LocalMachine, kAccessAppPathKey, kAccessExe);
    files.Put("D:\\Work\\sales.mdb.BAK", "older");
    CreateWithSales();
    logged.onStart = nullptr;
    mark = view.calls.size();
  }
  std::vector<std::string> Calls() const { return CallsFrom(mark); }
  // From here on, Calls() shows only what follows.
  void Mark() { mark = view.calls.size(); }

  std::size_t mark = 0;
};

TEST_F(MaintenanceTest, CompactionOfALoneTargetReportsItAndEnds) {
  form->CompactDatabase();
  // The snapshot and the backup copy beside the target are not offered;
  // only the taskbar button goes while Access runs, the window stays.
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartCompact("D:\\Work\\sales.mdb"), "front",
                                   "message: 「 sales.mdb 」の最適化が終了しました。", kOver, "app show"));
  ASSERT_FALSE(processes.started.empty());
  EXPECT_EQ(processes.started.back().shape, StartupShape::AsLauncher);
}

TEST_F(MaintenanceTest, EachOtherFileIsAskedAboutAndYesCompactsItSilently) {
  files.Put("D:\\Work\\A.MDB", "a");
  files.Put("D:\\Work\\B.MDB", "b");
  dialogs.answers = {Answer::Yes, Answer::No};
  form->CompactDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartCompact("D:\\Work\\sales.mdb"), "front",
                                   "message: 「 sales.mdb 」の最適化が終了しました。",  //
                                   Asked("A.MDB"), StartCompact("D:\\Work\\A.MDB"), "front",  //
                                   Asked("B.MDB"), kOver, "app show"));
}

TEST_F(MaintenanceTest, AbortOffersNoFurtherFileButStillEnds) {
  files.Put("D:\\Work\\A.MDB", "a");
  files.Put("D:\\Work\\B.MDB", "b");
  dialogs.answers = {Answer::Abort};
  form->CompactDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartCompact("D:\\Work\\sales.mdb"), "front",
                                   "message: 「 sales.mdb 」の最適化が終了しました。", Asked("A.MDB"), kOver,
                                   "app show"));
}

TEST_F(MaintenanceTest, TheScanOffersDatabasesOfBothKindsInTheListingsOrder) {
  files.Put("D:\\Work\\B.ACCDB", "b");
  files.Put("D:\\Work\\notes.txt", "n");
  files.Put("D:\\Work\\A.MDB", "a");
  files.Put("D:\\Work\\sales.ldb", "lock");
  dialogs.answers = {Answer::No, Answer::Yes};
  form->CompactDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartCompact("D:\\Work\\sales.mdb"), "front",
                                   "message: 「 sales.mdb 」の最適化が終了しました。",  //
                                   Asked("B.ACCDB"), Asked("A.MDB"), StartCompact("D:\\Work\\A.MDB"), "front",
                                   kOver, "app show"));
}

TEST_F(MaintenanceTest, TargetTypedInLowerCaseIsKnownInTheListing) {
  files.Put("C:\\DATA\\SALES.MDB", "s");
  files.Put("C:\\DATA\\A.MDB", "a");
  Type(C::EditDBpath, "c:\\data\\sales.mdb");
  dialogs.answers = {Answer::Yes};
  form->CompactDatabase();
  EXPECT_THAT(dialogs.shown, ::testing::Contains(Asked("A.MDB")));
  EXPECT_THAT(dialogs.shown, ::testing::Not(::testing::Contains(Asked("SALES.MDB"))));
  EXPECT_THAT(Calls(), ::testing::Contains(StartCompact("c:\\data\\sales.mdb")));
  // The other file is named by the target's folder as typed and the entry's name.
  EXPECT_THAT(Calls(), ::testing::Contains(StartCompact("c:\\data\\A.MDB")));
}

TEST_F(MaintenanceTest, AFolderNamedLikeADatabaseIsOfferedToo) {
  files.AddFolder("D:\\Work\\OLD.MDB");
  dialogs.answers = {Answer::Yes};
  form->CompactDatabase();
  EXPECT_THAT(Calls(), ::testing::Contains(Asked("OLD.MDB")));
  EXPECT_THAT(Calls(), ::testing::Contains(StartCompact("D:\\Work\\OLD.MDB")));
}

TEST_F(MaintenanceTest, RepairShowsNothingAndComesBackToTheFront) {
  form->RepairDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartRepair("D:\\Work\\sales.mdb"), "app show", "front"));
  EXPECT_EQ(processes.started.back().shape, StartupShape::AsLauncher);
}

TEST_F(MaintenanceTest, NoActionTouchesTheSnapshotOrTheBackupCopy) {
  files.Put("D:\\Work\\A.MDB", "a");
  dialogs.answers = {Answer::Yes};
  const int diskCalls = files.DiskCalls();
  form->CompactDatabase();
  form->RepairDatabase();
  EXPECT_EQ(files.DiskCalls(), diskCalls);
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb.TMP"), std::optional<std::string>("old"));
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb.BAK"), std::optional<std::string>("older"));
}

TEST_F(MaintenanceTest, ATargetOpenElsewhereIsNeitherCompactedNorRepaired) {
  files.Lock("D:\\Work\\sales.mdb");  // a colleague has it open
  files.Put("D:\\Work\\sales.ldb", LockRecord("EIGYO-PC"));
  files.Put("D:\\Work\\A.MDB", "a");
  for (void (MainWindowLogic::*click)() : {&MainWindowLogic::CompactDatabase, &MainWindowLogic::RepairDatabase}) {
    Mark();
    (form.get()->*click)();
    ASSERT_EQ(Calls().size(), 1u);  // Access is not started, no other file offered
    EXPECT_EQ(Calls()[0].rfind("error: D:\\Work\\sales.mdb は、ほかのコンピュータかプログラムで開かれています。", 0), 0u);
    EXPECT_NE(Calls()[0].find("・EIGYO-PC（ユーザー名 Admin）"), std::string::npos);
  }
  EXPECT_EQ(processes.started.size(), 1u);  // the first launch only
}

TEST_F(MaintenanceTest, AnotherFileOpenElsewhereIsSkippedAndTheScanGoesOn) {
  files.Put("D:\\Work\\A.MDB", "a");
  files.Put("D:\\Work\\B.MDB", "b");
  files.Lock("D:\\Work\\A.MDB");
  dialogs.answers = {Answer::Yes, Answer::Yes};
  form->CompactDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartCompact("D:\\Work\\sales.mdb"), "front",
                                   "message: 「 sales.mdb 」の最適化が終了しました。",  //
                                   Asked("A.MDB"), ::testing::StartsWith("error: D:\\Work\\A.MDB は、"),  //
                                   Asked("B.MDB"), StartCompact("D:\\Work\\B.MDB"), "front", kOver, "app show"));
}

TEST_F(MaintenanceTest, WithoutAccessRegisteredNothingStartsAndTheUserIsTold) {
  registry = fakes::FakeRegistry{};  // nothing registered
  files.Put("D:\\Work\\A.MDB", "a");
  for (void (MainWindowLogic::*click)() : {&MainWindowLogic::CompactDatabase, &MainWindowLogic::RepairDatabase}) {
    Mark();
    (form.get()->*click)();
    EXPECT_THAT(Calls(), ElementsAre(kNotFound));
  }
  // Each click asked both registry views.
  EXPECT_THAT(registry.opened, ElementsAre(kAccessAppPathKey, kAccessAppPathKey, kAccessAppPathKey, kAccessAppPathKey));
  EXPECT_THAT(registry.openedViews,
              ElementsAre(RegistryView::Own, RegistryView::Other, RegistryView::Own, RegistryView::Other));
}

TEST_F(MaintenanceTest, AccessOfTheOtherBitnessIsFoundInTheOtherView) {
  registry = fakes::FakeRegistry{};
  const std::string access = "C:\\Program Files\\Office\\MSACCESS.EXE";
  registry.SetKey(Hive::LocalMachine, kAccessAppPathKey, access, RegistryView::Other);
  form->RepairDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartRepair("D:\\Work\\sales.mdb", access), "app show", "front"));
}

TEST_F(MaintenanceTest, AKeyWithoutAPathCountsAsNotRegistered) {
  registry = fakes::FakeRegistry{};
  registry.SetKey(Hive::LocalMachine, kAccessAppPathKey, "");
  form->RepairDatabase();
  EXPECT_THAT(Calls(), ElementsAre(kNotFound));
}

TEST_F(MaintenanceTest, TheLastPathFoundIsKeptWhenALaterLookupFindsNone) {
  form->RepairDatabase();

  fakes::FakeRegistry bare, empty, moved;
  empty.SetKey(Hive::LocalMachine, kAccessAppPathKey, "");
  moved.SetKey(Hive::LocalMachine, kAccessAppPathKey, "E:\\Access\\MSACCESS.EXE");

  registry = bare;
  Mark();
  form->RepairDatabase();
  EXPECT_THAT(Calls(), ::testing::Contains(StartRepair("D:\\Work\\sales.mdb")));

  registry = empty;
  Mark();
  form->CompactDatabase();
  EXPECT_THAT(Calls(), ::testing::Contains(StartCompact("D:\\Work\\sales.mdb")));

  registry = moved;
  Mark();
  form->RepairDatabase();
  EXPECT_THAT(Calls(), ::testing::Contains(StartRepair("D:\\Work\\sales.mdb", "E:\\Access\\MSACCESS.EXE")));
}

TEST_F(MaintenanceTest, AccessThatCannotStartIsReportedAndNothingIsCalledDone) {
  files.Put("D:\\Work\\A.MDB", "a");
  processes.failStartsWith = os_error::kFileNotFound;
  const std::string error =
      "error: Microsoft Access を起動できません\n\nC:\\Office\\MSACCESS.EXE\n\n指定されたファイルが見つかりません。";

  form->CompactDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartCompact("D:\\Work\\sales.mdb"), "app show", "front", error));

  Mark();
  form->RepairDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartRepair("D:\\Work\\sales.mdb"), "app show", "front", error));
}

TEST_F(MaintenanceTest, AnUnknownStartErrorIsGivenByItsNumber) {
  processes.failStartsWith = 740;
  form->RepairDatabase();
  EXPECT_THAT(dialogs.shown.back(), ::testing::EndsWith("\n\nエラー番号 740"));
}

TEST_F(MaintenanceTest, AccessFailingForAnotherFileEndsTheScan) {
  files.Put("D:\\Work\\A.MDB", "a");
  files.Put("D:\\Work\\B.MDB", "b");
  dialogs.answers = {Answer::Yes, Answer::Yes};
  logged.onStart = [this](const std::string&) {
    if (processes.started.size() == 2) processes.failStartsWith = os_error::kAccessDenied;  // this start fails
  };
  form->CompactDatabase();
  EXPECT_THAT(Calls(), ElementsAre("app hide", StartCompact("D:\\Work\\sales.mdb"), "front",
                                   "message: 「 sales.mdb 」の最適化が終了しました。",  //
                                   Asked("A.MDB"), StartCompact("D:\\Work\\A.MDB"), "front",
                                   "error: Microsoft Access を起動できません\n\nC:\\Office\\MSACCESS.EXE\n\n"
                                   "アクセスが拒否されました。",
                                   kOver, "app show"));
}

TEST_F(MaintenanceTest, ButtonsAndCloseBoxAreHeldWhileAccessRunsAndOnlyThoseComeBack) {
  const std::vector<C> buttons(std::begin(kMainEndModeButtons), std::end(kMainEndModeButtons));
  ASSERT_EQ(buttons.size(), 10u);
  view.SetEnabled(C::BitBtnBackup, false);  // disabled before for its own reasons
  std::vector<C> enabledMeanwhile;
  int pumps = 0;
  view.shell.onPump = [&](int) {
    ++pumps;
    for (C c : buttons) {
      if (view.IsEnabled(c)) enabledMeanwhile.push_back(c);
    }
    EXPECT_TRUE(view.closeHeld);                      // and so is the close box
    EXPECT_TRUE(view.IsVisible(C::BitBtnAcCompact));  // the window stays in end mode
  };
  processes.runFor = {2, 1};
  files.Put("D:\\Work\\A.MDB", "a");
  dialogs.answers = {Answer::Yes};

  form->CompactDatabase();
  EXPECT_EQ(pumps, 3);
  EXPECT_THAT(enabledMeanwhile, IsEmpty());
  for (C c : buttons) EXPECT_EQ(view.IsEnabled(c), c != C::BitBtnBackup) << static_cast<int>(c);
  EXPECT_FALSE(view.closeHeld);
  EXPECT_THAT(Calls(), ::testing::Not(::testing::Contains("main hide")));
  EXPECT_THAT(Calls(), ::testing::Not(::testing::Contains(::testing::StartsWith("tray"))));

  processes.runFor = {1};
  form->RepairDatabase();
  EXPECT_EQ(pumps, 4);
  EXPECT_THAT(enabledMeanwhile, IsEmpty());
  for (C c : buttons) EXPECT_EQ(view.IsEnabled(c), c != C::BitBtnBackup) << static_cast<int>(c);
  EXPECT_FALSE(view.closeHeld);
}

TEST_F(MaintenanceTest, TheCloseLockGoesToAccessWindows) {
  processes.runFor = {1};
  // The fake gives the thread of its n-th start the id 3000 + n; the first
  // start was the launch of the target.
  const auto accessThread = static_cast<std::uint32_t>(3000 + processes.started.size() + 1);
  desktop.windows = {{77, accessThread}, {78, 3001}};
  form->RepairDatabase();
  EXPECT_THAT(desktop.closeDisabled, ElementsAre(77u));
}

}  // namespace
}  // namespace quandrel::testing
