// Generations of the database, their pruning, the restore and the record of
// runs, over the fake file layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "history/generations.h"
#include "history/keep_then_replace.h"
#include "history/restore.h"
#include "history/run_log.h"
#include "settings/settings.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;
using history::Reason;

const char kTarget[] = "D:\\DB\\SALES.MDB";
const char kFolder[] = "D:\\DB\\SALES.MDB の履歴";
const char kIni[] = "D:\\Work\\Quandrel.INI";

// --- the setting ---

TEST(HistorySettingTest, CountFromTheText) {
  const struct {
    const char* text;
    int count;
  } kCases[] = {
      {"", 0},          {"0", 0},        {"10", 10},      {" 7 ", 7},       {"99", 99},
      {"100", 99},      {"99999999999999999999999", 99},  {"-1", 0},        {"+5", 0},
      {"ten", 0},       {"10件", 0},     {"１０", 0},     {"3.5", 0},       {"007", 7},
  };
  for (const auto& c : kCases) EXPECT_EQ(HistoryCount(c.text), c.count) << "\"" << c.text << "\"";
}

TEST(HistorySettingTest, LoadedFromSystemAndNeverWrittenBySave) {
  FakeFiles files;
  files.Put(kIni, "[System]\r\nhistory=12\r\n");
  MainSettings s = LoadMainSettings(files, kIni);
  EXPECT_EQ(HistoryCount(s.History), 12);
  s.History = "3";
  ASSERT_TRUE(SaveMainSettings(files, kIni, s).ok);
  EXPECT_EQ(HistoryCount(LoadMainSettings(files, kIni).History), 12);
  FakeFiles none;
  EXPECT_EQ(HistoryCount(LoadMainSettings(none, kIni).History), 0);
}

// --- names ---

TEST(GenerationNamesTest, FolderBesideTheDatabaseNamedAfterIt) {
  EXPECT_EQ(history::FolderFor(kTarget), kFolder);
  // A trail byte 0x5C in the folder or the name is no separator.
  EXPECT_EQ(history::FolderFor("D:\\表\\ソフト表.mdb"), "D:\\表\\ソフト表.mdb の履歴");
}

TEST(GenerationNamesTest, NameSaysWhenAndWhyAndParsesBack) {
  const Reason kAll[] = {Reason::SaveAndExit, Reason::SaveAndContinue, Reason::Discard,
                         Reason::BeforeRestore, Reason::SettingsSave, Reason::Interrupted};
  for (Reason r : kAll) {
    for (int sequence : {1, 2, 17}) {
      const std::string name = history::NameFor("20261210-093005", sequence, r, "D:\\表\\x.mdb");
      const auto parsed = history::ParseName(name);
      ASSERT_TRUE(parsed) << name;
      EXPECT_EQ(parsed->stamp, "20261210-093005");
      EXPECT_EQ(parsed->sequence, sequence);
      EXPECT_EQ(parsed->reason, r);
      // The words hold no 0x5C byte, so a name is always one path part.
      EXPECT_EQ(name.find('\\'), std::string::npos) << name;
    }
  }
  EXPECT_EQ(history::NameFor("20261210-093005", 1, Reason::SaveAndExit, kTarget), "20261210-093005 保存終了.MDB");
  EXPECT_EQ(history::NameFor("20261210-093005", 2, Reason::Discard, "D:\\x.accdb"),
            "20261210-093005-2 破棄終了.accdb");
}

TEST(GenerationNamesTest, OtherFilesAreNoGenerations) {
  for (const char* name : {"readme.txt", "20261210-093005.mdb", "20261210-093005 保存終了 - コピー.mdb",
                           "20261210-093005 保存終了.mdb.part", "2026121x-093005 保存終了.mdb",
                           "20261210-093005-1 保存終了.mdb", "20261210-093005-02 保存終了.mdb",
                           "20261210-093005 ほかの.mdb", "20261210093005 保存終了.mdb"}) {
    EXPECT_FALSE(history::ParseName(name)) << name;
  }
}

// --- keeping, listing and pruning ---

class GenerationsTest : public testing::Test {
 protected:
  FakeFiles files;
  fakes::FakeSystem system;
  std::string Gen(const char* name) { return std::string(kFolder) + "\\" + name; }
};

TEST_F(GenerationsTest, KeepMovesTheStateIntoTheFolderReadOnly) {
  files.Put(std::string(kTarget) + ".BAK", "older");
  const history::Kept kept = history::Keep(files, system, kTarget, std::string(kTarget) + ".BAK", Reason::SaveAndExit);
  ASSERT_TRUE(kept.result.ok);
  EXPECT_TRUE(kept.moved);
  EXPECT_EQ(kept.generation, Gen("20261210-093005 保存終了.MDB"));
  EXPECT_TRUE(files.HasFolder(kFolder));
  EXPECT_EQ(files.Get(kept.generation), "older");
  EXPECT_TRUE(files.ReadOnly(kept.generation));
  EXPECT_FALSE(files.Has(std::string(kTarget) + ".BAK"));
  // No copy: one move.
  for (const std::string& call : files.Log()) EXPECT_EQ(call.rfind("Copy", 0), std::string::npos) << call;
}

TEST_F(GenerationsTest, SameSecondGetsTheNextNumberAndNeverReplaces) {
  for (int i = 0; i < 3; ++i) {
    files.Put(kTarget, "state" + std::to_string(i));
    ASSERT_TRUE(history::Keep(files, system, kTarget, kTarget, Reason::Discard).result.ok);
  }
  EXPECT_EQ(files.Get(Gen("20261210-093005 破棄終了.MDB")), "state0");
  EXPECT_EQ(files.Get(Gen("20261210-093005-2 破棄終了.MDB")), "state1");
  EXPECT_EQ(files.Get(Gen("20261210-093005-3 破棄終了.MDB")), "state2");
  const auto listed = history::List(files, kTarget);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].sequence, 3);  // newest first
  EXPECT_EQ(listed[2].sequence, 1);
  // Another action in that second goes on counting, so it lists newest
  // although its own name was free.
  files.Put(std::string(kTarget) + ".BAK", "backup");
  ASSERT_TRUE(history::Keep(files, system, kTarget, std::string(kTarget) + ".BAK", Reason::SaveAndExit).result.ok);
  EXPECT_EQ(files.Get(Gen("20261210-093005-4 保存終了.MDB")), "backup");
  EXPECT_EQ(history::List(files, kTarget).at(0).reason, Reason::SaveAndExit);
}

TEST_F(GenerationsTest, FailedStepsChangeNothing) {
  const std::string bak = std::string(kTarget) + ".BAK";
  for (int failing : {1, 2}) {  // the folder, the move
    FakeFiles f;
    f.Put(bak, "older");
    f.FailCall(failing, os_error::kAccessDenied);
    const history::Kept kept = history::Keep(f, system, kTarget, bak, Reason::SaveAndExit);
    EXPECT_FALSE(kept.result.ok) << failing;
    EXPECT_EQ(f.Get(bak), "older") << failing;
    EXPECT_TRUE(history::List(f, kTarget).empty()) << failing;
  }
}

TEST_F(GenerationsTest, ANameTooLongForTheFileFunctionsIsRefusedBeforeAnythingIsMade) {
  // 230 characters of folder and name, within the limit for the target
  // itself: the history folder and a generation put it past 259.
  const std::string target = "D:\\" + std::string(90, 'a') + "\\" + std::string(70, 'b') + "表" + std::string(60, 'c') + ".mdb";
  files.Put(target, "data");
  const history::Kept kept = history::Keep(files, system, target, target, Reason::Discard);
  EXPECT_EQ(kept.result.error, 206u);
  EXPECT_EQ(files.DiskCalls(), 0);
  EXPECT_EQ(files.Get(target), "data");
}

TEST_F(GenerationsTest, AnotherVolumeGetsACheckedCopy) {
  const std::string bak = std::string(kTarget) + ".BAK";
  files.Put(bak, "older");
  files.FailCall(2, 17);  // MakeFolder, then the move: not the same device
  const history::Kept kept = history::Keep(files, system, kTarget, bak, Reason::SaveAndExit);
  ASSERT_TRUE(kept.result.ok);
  EXPECT_FALSE(kept.moved);
  EXPECT_EQ(files.Get(kept.generation), "older");
  EXPECT_EQ(files.Get(bak), "older");  // still there; the caller replaces it
  EXPECT_FALSE(files.Has(kept.generation + ".part"));
  ASSERT_TRUE(history::PutBack(files, kept, bak).ok);
  EXPECT_FALSE(files.Has(kept.generation));
  EXPECT_EQ(files.Get(bak), "older");
}

TEST_F(GenerationsTest, PutBackMakesTheStateWritableAgainAndNeverReplaces) {
  files.Put(kTarget, "mine");
  const history::Kept kept = history::Keep(files, system, kTarget, kTarget, Reason::Discard);
  ASSERT_TRUE(kept.result.ok);
  ASSERT_TRUE(history::PutBack(files, kept, kTarget).ok);
  EXPECT_EQ(files.Get(kTarget), "mine");
  EXPECT_FALSE(files.ReadOnly(kTarget));

  const history::Kept again = history::Keep(files, system, kTarget, kTarget, Reason::Discard);
  files.Put(kTarget, "someone else's");
  EXPECT_FALSE(history::PutBack(files, again, kTarget).ok);
  EXPECT_EQ(files.Get(kTarget), "someone else's");
  EXPECT_EQ(files.Get(again.generation), "mine");
}

TEST_F(GenerationsTest, ListNewestFirstWithSizesIgnoringOtherFiles) {
  files.Put(Gen("20261209-170000 保存終了.MDB"), "12345");
  files.Put(Gen("20261210-080000 破棄終了.MDB"), "1");
  files.Put(Gen("20261208-120000 復元前.MDB"), "123");
  files.Put(Gen("メモ.txt"), "note");
  files.AddFolder(Gen("20261210-090000 保存終了.MDB"));
  const auto listed = history::List(files, kTarget);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].stamp, "20261210-080000");
  EXPECT_EQ(listed[0].reason, Reason::Discard);
  EXPECT_EQ(listed[0].size, 1u);
  EXPECT_EQ(listed[1].size, 5u);
  EXPECT_EQ(listed[2].reason, Reason::BeforeRestore);
  EXPECT_EQ(listed[2].path, Gen("20261208-120000 復元前.MDB"));
}

// Generations named by hour, oldest first; `sound` tells which pass the check.
struct PruneCase {
  const char* name;
  int count;
  int keep;
  std::vector<bool> sound;        // per generation, oldest first; empty: all sound
  std::vector<int> left;          // hours left, oldest first
};

TEST_F(GenerationsTest, PruneOldestFirstSparingTheNewestSound) {
  const PruneCase kCases[] = {
      {"fewer than kept", 2, 3, {}, {0, 1}},
      {"as many as kept", 3, 3, {}, {0, 1, 2}},
      {"oldest go", 5, 2, {}, {3, 4}},
      {"keep one", 4, 1, {}, {3}},
      {"newest damaged: newest sound stays", 5, 2, {true, true, false, false, false}, {1, 3, 4}},
      {"one of the kept is sound", 5, 2, {true, true, true, true, false}, {3, 4}},
      {"none sound: plain oldest first", 4, 2, {false, false, false, false}, {2, 3}},
  };
  for (const PruneCase& c : kCases) {
    FakeFiles f;
    std::vector<std::string> paths;
    for (int h = 0; h < c.count; ++h) {
      char name[64];
      std::snprintf(name, sizeof name, "20261210-%02d0000 保存終了.MDB", h);
      paths.push_back(Gen(name));
      f.Put(paths.back(), "gen" + std::to_string(h));
      f.SetReadOnly(paths.back(), true);
    }
    history::DatabaseCheck check;
    if (!c.sound.empty()) {
      check = [&](const std::string& path) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
          if (paths[i] == path) return static_cast<bool>(c.sound[i]);
        }
        return false;
      };
    }
    const history::Pruned pruned = history::Prune(f, kTarget, c.keep, check);
    EXPECT_TRUE(pruned.failed.empty()) << c.name;
    std::vector<int> left;
    for (int h = 0; h < c.count; ++h) {
      if (f.Has(paths[h])) left.push_back(h);
    }
    EXPECT_EQ(left, c.left) << c.name;
  }
}

TEST_F(GenerationsTest, PruneThatFailsKeepsTheFileReadOnlyAndTells) {
  files.Put(Gen("20261210-010000 保存終了.MDB"), "a");
  files.Put(Gen("20261210-020000 保存終了.MDB"), "b");
  files.SetReadOnly(Gen("20261210-010000 保存終了.MDB"), true);
  files.Lock(Gen("20261210-010000 保存終了.MDB"));
  const history::Pruned pruned = history::Prune(files, kTarget, 1, nullptr);
  ASSERT_EQ(pruned.failed.size(), 1u);
  EXPECT_EQ(pruned.failed[0].first, Gen("20261210-010000 保存終了.MDB"));
  EXPECT_EQ(files.Get(Gen("20261210-010000 保存終了.MDB")), "a");
  EXPECT_TRUE(files.ReadOnly(Gen("20261210-010000 保存終了.MDB")));
}

// --- keeping before a replacing move ---

class KeepThenReplaceTest : public GenerationsTest {
 protected:
  const std::string bak = std::string(kTarget) + ".BAK";
  const std::string tmp = std::string(kTarget) + ".TMP";
  history::RunLog log{files, system, kIni, true};
  history::Replaced Save(int keep = 10) {
    return history::KeepThenReplace(files, system, log, {kTarget, bak, Reason::SaveAndExit, keep}, nullptr,
                                    [&] { return files.Replace(tmp, bak); });
  }
};

TEST_F(KeepThenReplaceTest, TheReplacedStateBecomesAGenerationAndTheOldestGo) {
  files.Put(bak, "older");
  files.Put(tmp, "old");
  files.Put(Gen("20261201-080000 保存終了.MDB"), "oldest");
  const history::Replaced out = Save(1);
  ASSERT_TRUE(out.done);
  EXPECT_TRUE(out.errors.empty());
  EXPECT_EQ(files.Get(bak), "old");
  EXPECT_EQ(files.Get(out.generation), "older");
  EXPECT_FALSE(files.Has(Gen("20261201-080000 保存終了.MDB")));
}

TEST_F(KeepThenReplaceTest, NoBackupYetKeepsNothingAndMakesNoFolder) {
  files.Put(tmp, "old");
  const history::Replaced out = Save();
  ASSERT_TRUE(out.done);
  EXPECT_TRUE(out.generation.empty());
  EXPECT_FALSE(files.HasFolder(kFolder));
  EXPECT_EQ(files.Get(bak), "old");
}

TEST_F(KeepThenReplaceTest, AMoveThatFailsPutsTheStateBack) {
  files.Put(bak, "older");
  files.Put(tmp, "old");
  const history::Replaced out = history::KeepThenReplace(
      files, system, log, {kTarget, bak, Reason::SaveAndExit, 10}, nullptr,
      [] { return OsResult::Failure(os_error::kSharingViolation); });
  EXPECT_FALSE(out.done);
  EXPECT_EQ(out.moveResult.error, os_error::kSharingViolation);
  EXPECT_TRUE(out.errors.empty());  // the caller tells of its own move
  EXPECT_EQ(files.Get(bak), "older");
  EXPECT_FALSE(files.ReadOnly(bak));
  EXPECT_TRUE(history::List(files, kTarget).empty());
}

TEST_F(KeepThenReplaceTest, AStateThatCantBeKeptIsNotReplaced) {
  files.Put(bak, "older");
  files.Put(tmp, "old");
  files.MakeFolderReadOnly("D:\\DB");  // the history folder can't be made
  bool ran = false;
  const history::Replaced out = history::KeepThenReplace(
      files, system, log, {kTarget, bak, Reason::SaveAndExit, 10}, nullptr, [&] {
        ran = true;
        return OsResult::Success();
      });
  EXPECT_FALSE(ran);
  EXPECT_FALSE(out.done);
  ASSERT_EQ(out.errors.size(), 1u);
  EXPECT_EQ(out.errors[0].rfind(bak + " を履歴に残せません", 0), 0u) << out.errors[0];
  EXPECT_EQ(files.Get(bak), "older");
}

// --- the record of runs ---

TEST(RunLogTest, LinesBesideTheSettingsFile) {
  EXPECT_EQ(history::LogPathFor(kIni), "D:\\Work\\Quandrel.LOG");
  EXPECT_EQ(history::OlderLogPathFor("D:\\表\\販売.INI"), "D:\\表\\販売.1.LOG");
}

TEST(RunLogTest, OneLinePerStepWithWhoWhatAndWhy) {
  FakeFiles files;
  fakes::FakeSystem system;
  history::RunLog log(files, system, kIni, true);
  EXPECT_TRUE(log.Step("保存終了", "D:\\DB\\a.BAK", "D:\\DB\\gen", OsResult::Success()).ok);
  EXPECT_TRUE(log.Step("復元", "x\ty", "line\r\nbreak", OsResult::Failure(112)).ok);
  EXPECT_EQ(files.Get("D:\\Work\\Quandrel.LOG"),
            "2026/12/10 09:30:05\tKEIRI-PC1\ttanaka\t保存終了\tD:\\DB\\a.BAK\tD:\\DB\\gen\t成功\r\n"
            "2026/12/10 09:30:05\tKEIRI-PC1\ttanaka\t復元\tx y\tline  break\t"
            "失敗: ディスクに十分な空き領域がありません。\r\n");
  for (const char* call : {"Append D:\\Work\\Quandrel.LOG"}) {
    int appends = 0;
    for (const std::string& c : files.Log()) appends += c == call;
    EXPECT_EQ(appends, 2);  // one append per line
  }
}

TEST(RunLogTest, NothingWrittenWhileHistoryIsOff) {
  FakeFiles files;
  fakes::FakeSystem system;
  history::RunLog log(files, system, kIni, false);
  EXPECT_TRUE(log.Step("保存終了", "a", "b", OsResult::Success()).ok);
  EXPECT_TRUE(files.List().empty());
  EXPECT_EQ(files.DiskCalls(), 0);
}

TEST(RunLogTest, RotatesBelowTheLimitIntoThePreviousPart) {
  FakeFiles files;
  fakes::FakeSystem system;
  const std::string logPath = history::LogPathFor(kIni);
  const std::string older = history::OlderLogPathFor(kIni);
  files.Put(older, "very old\r\n");
  history::RunLog log(files, system, kIni, true, 200);
  int lines = 0;
  for (; lines < 10; ++lines) log.Step("保存終了", "a", "b", OsResult::Success());
  ASSERT_TRUE(files.Has(older));
  EXPECT_LE(files.Get(logPath)->size(), 200u);
  EXPECT_LE(files.Get(older)->size(), 200u);
  EXPECT_EQ(files.Get(older)->find("very old"), std::string::npos);  // replaced by the rotation
  // Every line is whole in one part or the other.
  const std::string all = *files.Get(older) + *files.Get(logPath);
  EXPECT_EQ(all.rfind("2026/12/10", 0), 0u);
  EXPECT_EQ(all.substr(all.size() - 2), "\r\n");
}

TEST(RunLogTest, AFailedAppendIsReportedAndTheStepStands) {
  FakeFiles files;
  fakes::FakeSystem system;
  files.Lock(history::LogPathFor(kIni));
  history::RunLog log(files, system, kIni, true);
  EXPECT_EQ(log.Step("保存終了", "a", "b", OsResult::Success()).error, os_error::kSharingViolation);
}

TEST(RunLogTest, MakersOfFilesFromBothPartsNewestLineWins) {
  FakeFiles files;
  files.Put(history::OlderLogPathFor(kIni),
            "2026/12/09 10:00:00\tPC-OLD\tsato\t保存終了\tD:\\DB\\S.MDB.BAK\tD:\\DB\\gen1\t成功\r\n");
  files.Put(history::LogPathFor(kIni),
            "2026/12/10 10:00:00\tPC2\tsuzuki\t保存終了\tD:\\DB\\S.MDB.TMP\td:\\db\\s.mdb.bak\t成功\r\n"
            "broken line\r\n"
            "2026/12/10 11:00:00\tPC3\tito\t保存終了\tD:\\DB\\S.MDB.TMP\tD:\\DB\\S.MDB.BAK\t失敗: x\r\n");
  const auto makers = history::MakersFromLog(files, kIni);
  ASSERT_EQ(makers.count("D:\\DB\\GEN1"), 1u);
  EXPECT_EQ(makers.at("D:\\DB\\GEN1").computer, "PC-OLD");
  ASSERT_EQ(makers.count("D:\\DB\\S.MDB.BAK"), 1u);
  EXPECT_EQ(makers.at("D:\\DB\\S.MDB.BAK").user, "suzuki");  // the failed line made nothing
}

// --- restore ---

class RestoreTest : public testing::Test {
 protected:
  FakeFiles files;
  fakes::FakeSystem system;
  history::RunLog log{files, system, kIni, true};
  const std::string chosen = std::string(kFolder) + "\\20261209-170000 保存終了.MDB";

  void SetUp() override {
    files.Put(kTarget, "current");
    files.Put(chosen, "monday");
    files.SetReadOnly(chosen, true);
  }
  history::RestoreOutcome Run(const history::OpenElsewhereCheck& openElsewhere = nullptr, int keep = 10) {
    return history::Restore(files, system, log, {kTarget, chosen, "2026/12/09 17:00:00", keep}, nullptr,
                            openElsewhere, nullptr);
  }
};

TEST_F(RestoreTest, PutsTheChosenStateInPlaceAndKeepsTheOneBefore) {
  const history::RestoreOutcome out = Run();
  ASSERT_TRUE(out.restored);
  EXPECT_TRUE(out.errors.empty());
  EXPECT_EQ(files.Get(kTarget), "monday");
  EXPECT_FALSE(files.ReadOnly(kTarget));
  EXPECT_EQ(out.keptAs, std::string(kFolder) + "\\20261210-093005 復元前.MDB");
  EXPECT_EQ(files.Get(out.keptAs), "current");
  EXPECT_EQ(files.Get(chosen), "monday");  // the chosen generation stays
  EXPECT_FALSE(files.Has(std::string(kTarget) + ".part"));
  EXPECT_EQ(out.message, "データベースを 2026/12/09 17:00:00 の状態に戻しました。\n\n戻す前の状態は履歴に残っています。\n" +
                             out.keptAs);
  // The log says who made the generation and the restored target.
  const auto makers = history::MakersFromLog(files, kIni);
  EXPECT_EQ(makers.count(text::UpperAscii(out.keptAs)), 1u);
  EXPECT_EQ(makers.count(text::UpperAscii(kTarget)), 1u);
}

TEST_F(RestoreTest, FullDiskBeforeTheCopyLeavesNoPartAndChangesNothing) {
  files.FailCall(files.DiskCalls() + 1, os_error::kDiskFull);
  // The fake's failing copy leaves half a file, as a copy cut short does.
  const history::RestoreOutcome out = Run();
  EXPECT_FALSE(out.restored);
  ASSERT_EQ(out.errors.size(), 1u);
  EXPECT_NE(out.errors[0].find("ディスクに十分な空き領域がありません。"), std::string::npos);
  EXPECT_EQ(files.Get(kTarget), "current");
  EXPECT_FALSE(files.Has(std::string(kTarget) + ".part"));
  EXPECT_EQ(history::List(files, kTarget).size(), 1u);
}

TEST_F(RestoreTest, RefusedWhileOpenElsewhere) {
  // The platform's refusal: the target can't be moved while a program has it open.
  files.Lock(kTarget);
  history::RestoreOutcome out = Run();
  EXPECT_FALSE(out.restored);
  ASSERT_EQ(out.errors.size(), 1u);
  EXPECT_NE(out.errors[0].find("履歴に残せないため、戻しませんでした"), std::string::npos);
  files.Unlock(kTarget);
  EXPECT_EQ(files.Get(kTarget), "current");
  EXPECT_FALSE(files.Has(std::string(kTarget) + ".part"));
  EXPECT_EQ(history::List(files, kTarget).size(), 1u);

  // The shared-use check, asked before any file is touched.
  const int before = files.DiskCalls();
  out = Run([](const std::string&) { return std::string("open on PC2"); });
  EXPECT_EQ(out.errors, std::vector<std::string>{"open on PC2"});
  EXPECT_EQ(files.DiskCalls(), before);
}

TEST_F(RestoreTest, AFailedPlacingPutsTheTargetBack) {
  // Copy, Append, MakeFolder, Move, SetReadOnly, Append, then the Replace fails.
  files.FailCall(files.DiskCalls() + 7, os_error::kAccessDenied);
  const history::RestoreOutcome out = Run();
  EXPECT_FALSE(out.restored);
  EXPECT_EQ(files.Get(kTarget), "current");
  EXPECT_FALSE(files.ReadOnly(kTarget));
  EXPECT_FALSE(files.Has(std::string(kTarget) + ".part"));
  EXPECT_EQ(history::List(files, kTarget).size(), 1u);
  ASSERT_EQ(out.errors.size(), 1u);
  EXPECT_NE(out.errors[0].find("データベースは変わっていません。"), std::string::npos);
}

TEST_F(RestoreTest, PrunesToTheSetting) {
  files.Put(std::string(kFolder) + "\\20261201-170000 保存終了.MDB", "old");
  const history::RestoreOutcome out = Run(nullptr, 2);
  ASSERT_TRUE(out.restored);
  const auto left = history::List(files, kTarget);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].path, out.keptAs);
  EXPECT_EQ(left[1].path, chosen);
}

}  // namespace
}  // namespace quandrel
