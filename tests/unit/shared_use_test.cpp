// Shared use of a database: the lock file's name and records, whether the
// database is open elsewhere and what the user is told, and who a run sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "launch/lock_file.h"
#include "launch/shared_use.h"
#include "lock_record.h"

namespace quandrel {
namespace {

using testing::LockRecord;

using Entries = std::vector<LockFileEntry>;

std::vector<std::pair<std::string, std::string>> Names(const Entries& entries) {
  std::vector<std::pair<std::string, std::string>> names;
  for (const LockFileEntry& e : entries) names.emplace_back(e.computer, e.user);
  return names;
}
using NameList = std::vector<std::pair<std::string, std::string>>;

TEST(LockFilePathTest, TheExtensionIsReplacedAsTheEngineDoes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"D:\\DB\\SALES.MDB", "D:\\DB\\SALES.ldb"},
      {"D:\\DB\\sales.mdb", "D:\\DB\\sales.ldb"},
      {"D:\\DB\\Sales.accdb", "D:\\DB\\Sales.laccdb"},
      {"D:\\DB\\SALES.ACCDB", "D:\\DB\\SALES.laccdb"},
      {"D:\\DB\\a.b.mdb", "D:\\DB\\a.b.ldb"},
      // A dot in a folder's name is not the file's extension.
      {"D:\\DB.v2\\SALES", "D:\\DB.v2\\SALES.ldb"},
      // 表 ends in byte 0x5C, which is no separator there.
      {"D:\\売上表\\顧客表.mdb", "D:\\売上表\\顧客表.ldb"},
      {"\\\\server\\share\\ソフト.MDB", "\\\\server\\share\\ソフト.ldb"},
  };
  for (const auto& [database, lock] : cases) EXPECT_EQ(LockFilePath(database), lock) << database;
}

TEST(ParseLockFileTest, NamesFromEachRecord) {
  struct Case {
    const char* what;
    std::string bytes;
    NameList names;
  };
  const std::string full32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  const std::string kanji16 = "経理部の一番目のパソコン表示用名";  // 16 characters, 32 bytes
  const Case cases[] = {
      {"two people", LockRecord("KEIRI-PC2", "Admin") + LockRecord("EIGYO-PC", "Admin"),
       {{"KEIRI-PC2", "Admin"}, {"EIGYO-PC", "Admin"}}},
      {"Shift-JIS names, a 0x5C trail byte included", LockRecord("経理ＰＣ", "山田表"), {{"経理ＰＣ", "山田表"}}},
      {"names of 32 bytes without a terminator", LockRecord(full32, full32), {{full32, full32}}},
      {"double-byte names filling the field", LockRecord(kanji16, "Admin"), {{kanji16, "Admin"}}},
      {"what follows a terminator is not the name",
       std::string("PC1\0junk", 8) + std::string(24, 'x') + LockRecord("Admin", "").substr(0, 32),
       {{"PC1", "Admin"}}},
      {"blanks around a name go", LockRecord("  PC1   ", " Admin "), {{"PC1", "Admin"}}},
      {"control bytes show as '?'", LockRecord("PC\x01X\x7F", "Ad\tmin"), {{"PC?X?", "Ad?min"}}},
      {"bytes no character begins with show as '?'", LockRecord("PC\x80\xA0\xFD", "A"), {{"PC???", "A"}}},
      {"a lead byte without its second byte shows as '?'",
       std::string(31, 'P') + "\x93" + LockRecord("", "Admin").substr(32), {{std::string(31, 'P') + "?", "Admin"}}},
      {"a lead byte before a byte that can't follow it", LockRecord("PC\x82\x20X", "A"), {{"PC? X", "A"}}},
      {"half-width katakana are kept", LockRecord("\xB6\xDD\xD8", "A"), {{"\xB6\xDD\xD8", "A"}}},
      {"empty records are skipped",
       LockRecord("", "") + LockRecord("PC1", "Admin") + std::string(64, '\0') + LockRecord("   ", ""),
       {{"PC1", "Admin"}}},
      {"a person is listed once, the computer's letter case aside",
       LockRecord("pc1", "Admin") + LockRecord("PC1", "Admin") + LockRecord("PC1", "admin"),
       {{"pc1", "Admin"}, {"PC1", "admin"}}},
      {"a last record cut in its user name counts", LockRecord("PC1", "Admin") + LockRecord("PC2", "Admin").substr(0, 35),
       {{"PC1", "Admin"}, {"PC2", "Adm"}}},
      {"a last record cut in its computer name does not",
       LockRecord("PC1", "Admin") + LockRecord("PC2", "Admin").substr(0, 20), {{"PC1", "Admin"}}},
      {"a last record of exactly one name", LockRecord("PC1", "Admin").substr(0, 32), {{"PC1", ""}}},
      {"an empty file", "", {}},
      {"a file shorter than one name", "PC1", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Names(ParseLockFile(c.bytes)), c.names) << c.what;
}

TEST(ParseLockFileTest, NoMoreRecordsThanTheEngineAllowsAreRead) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += LockRecord("PC" + std::to_string(i), "Admin");
  const Entries entries = ParseLockFile(bytes);
  ASSERT_EQ(entries.size(), kMaxLockRecords);
  EXPECT_EQ(entries.back().computer, "PC254");
}

TEST(ReadLockFileTest, ReadsABoundedAmountOfAFileOfAnySize) {
  fakes::FakeFiles files;
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += LockRecord("PC" + std::to_string(i), "Admin");
  bytes += std::string(1 << 20, 'x');
  files.Put("D:\\DB\\SALES.ldb", bytes);
  auto entries = ReadLockFile(files, "D:\\DB\\SALES.ldb");
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(entries->size(), kMaxLockRecords);
  EXPECT_EQ(files.HeadReads(), 1);

  EXPECT_FALSE(ReadLockFile(files, "D:\\DB\\OTHER.ldb").has_value());
  files.Lock("D:\\DB\\SALES.ldb", 33);
  EXPECT_FALSE(ReadLockFile(files, "D:\\DB\\SALES.ldb").has_value());
}

TEST(IsOnComputerTest, ComparesTheNameWithLetterCaseAside) {
  EXPECT_TRUE(IsOnComputer({"KEIRI-PC1", "Admin"}, "KEIRI-PC1"));
  EXPECT_TRUE(IsOnComputer({"keiri-pc1", "Admin"}, "KEIRI-PC1"));
  EXPECT_FALSE(IsOnComputer({"KEIRI-PC10", "Admin"}, "KEIRI-PC1"));
  // A computer whose name the platform can't tell is nobody's.
  EXPECT_FALSE(IsOnComputer({"", "Admin"}, ""));
}

// ---------------------------------------------------------------------------
// Open elsewhere

class OpenElsewhereTest : public ::testing::Test {
 protected:
  static constexpr const char* kDb = "D:\\DB\\SALES.MDB";
  static constexpr const char* kLock = "D:\\DB\\SALES.ldb";
  OpenElsewhereTest() { files.Put(kDb, "db"); }
  fakes::FakeFiles files;
  fakes::FakeSystem system;  // this computer is KEIRI-PC1
  fakes::FakeDialogs dialogs;
};

TEST_F(OpenElsewhereTest, ADatabaseNobodyHasOpenPassesWithoutItsLockFileBeingRead) {
  files.Put(kLock, LockRecord("EIGYO-PC", "Admin"));  // left behind by a crash
  const OpenElsewhere check = CheckOpenElsewhere(files, system, kDb);
  EXPECT_FALSE(check.open);
  EXPECT_TRUE(check.message.empty());
  EXPECT_EQ(files.HeadReads(), 0);
  EXPECT_FALSE(RefuseWhenOpenElsewhere(files, system, dialogs, kDb));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(OpenElsewhereTest, OnlySharingAndLockViolationsMeanOpenElsewhere) {
  const std::vector<std::pair<std::uint32_t, bool>> cases = {
      {32, true},   // sharing violation
      {33, true},   // lock violation
      {5, false},   // access denied: the action's own step reports it
      {2, false},   // not found
      {112, false},
  };
  for (const auto& [error, open] : cases) {
    files.Lock(kDb, error);
    EXPECT_EQ(CheckOpenElsewhere(files, system, kDb).open, open) << error;
  }
  files.Unlock(kDb);
  EXPECT_FALSE(CheckOpenElsewhere(files, system, "D:\\DB\\MISSING.MDB").open);
}

TEST_F(OpenElsewhereTest, TheRefusalNamesEveryoneTheLockFileListsAndMarksThisComputer) {
  files.Lock(kDb);
  files.Put(kLock, LockRecord("EIGYO-PC", "Admin") + LockRecord("keiri-pc1", "Admin") + LockRecord("総務ＰＣ", "佐藤"));
  EXPECT_TRUE(RefuseWhenOpenElsewhere(files, system, dialogs, kDb));
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{
                               "error: D:\\DB\\SALES.MDB は、ほかのコンピュータかプログラムで開かれています。\n\n"
                               "ロックファイルに記録されている名前（もう閉じた人が残っていることもあります）:\n"
                               "・EIGYO-PC（ユーザー名 Admin）\n"
                               "・keiri-pc1（ユーザー名 Admin）← このコンピュータ\n"
                               "・総務ＰＣ（ユーザー名 佐藤）\n\n"
                               "開いている人の作業を消さないよう、何も変更せずに中止しました。\n"
                               "データベースを閉じてもらってから、もう一度行ってください。"}));
  EXPECT_EQ(CheckOpenElsewhere(files, system, kDb).listed.size(), 3u);
}

TEST_F(OpenElsewhereTest, WithoutNamesTheRefusalSaysItDoesNotKnowWhere) {
  // Opened exclusively (no lock file is made then), or a lock file that
  // can't be read, or one that names nobody.
  files.Lock(kDb);
  for (int variant = 0; variant < 3; ++variant) {
    if (variant == 1) {
      files.Put(kLock, LockRecord("EIGYO-PC", "Admin"));
      files.Lock(kLock, 33);
    }
    if (variant == 2) {
      files.Unlock(kLock);
      files.Put(kLock, std::string(128, '\0'));
    }
    const OpenElsewhere check = CheckOpenElsewhere(files, system, kDb);
    EXPECT_TRUE(check.open);
    EXPECT_EQ(check.message,
              "D:\\DB\\SALES.MDB は、ほかのコンピュータかプログラムで開かれています。\n\n"
              "どこで開かれているかは分かりません。\n\n"
              "開いている人の作業を消さないよう、何も変更せずに中止しました。\n"
              "データベースを閉じてもらってから、もう一度行ってください。")
        << variant;
  }
}

TEST(PeopleLinesTest, TooManyToShowAreCounted) {
  Entries people;
  for (int i = 1; i <= 12; ++i) people.push_back({"PC" + std::to_string(i), "Admin"});
  const std::string lines = PeopleLines(people, "PC2");
  EXPECT_EQ(lines.substr(0, lines.find('\n', lines.find('\n') + 1)),
            "・PC1（ユーザー名 Admin）\n・PC2（ユーザー名 Admin）← このコンピュータ");
  EXPECT_EQ(lines.substr(lines.rfind('\n') + 1), "・ほか 2 件");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 10);
}

TEST(DiscardQuestionTest, TheUsualQuestionUnlessOthersWereSeen) {
  EXPECT_EQ(DiscardQuestion({}), "本当にデータベースの更新分を\n破棄してよろしいですか？");
  EXPECT_EQ(DiscardQuestion({{"EIGYO-PC", "Admin"}, {"総務ＰＣ", "佐藤"}}),
            "本当にデータベースの更新分を\n破棄してよろしいですか？\n\n"
            "今回の実行中に、ほかのコンピュータもこのデータベースを開いていました:\n"
            "・EIGYO-PC（ユーザー名 Admin）\n・総務ＰＣ（ユーザー名 佐藤）\n\n"
            "破棄すると、実行を始めてから今までにその人たちが加えた変更も消えます。");
}

// ---------------------------------------------------------------------------
// Who a run sees

class OthersSeenTest : public ::testing::Test {
 protected:
  static constexpr const char* kDb = "D:\\DB\\SALES.MDB";
  static constexpr const char* kLock = "D:\\DB\\SALES.ldb";
  fakes::FakeFiles files;
  fakes::FakeSystem system;  // this computer is KEIRI-PC1
  OthersSeen seen{files, system};
};

TEST_F(OthersSeenTest, NotesOtherComputersAsTheyComeAndKeepsThemWhenTheFileGoes) {
  seen.Begin(kDb);
  seen.Look();
  EXPECT_TRUE(seen.Others().empty());

  files.Put(kLock, LockRecord("KEIRI-PC1", "Admin"));  // this run's own program
  seen.Look();
  EXPECT_TRUE(seen.Others().empty());

  files.Put(kLock, LockRecord("KEIRI-PC1", "Admin") + LockRecord("EIGYO-PC", "Admin"));
  seen.Look();
  files.Remove(kLock);
  seen.Look();
  files.Put(kLock, LockRecord("総務ＰＣ", "佐藤") + LockRecord("EIGYO-PC", "Admin"));
  seen.Look();
  EXPECT_EQ(Names(seen.Others()), (NameList{{"EIGYO-PC", "Admin"}, {"総務ＰＣ", "佐藤"}}));

  // A new run has seen nobody yet.
  seen.Begin(kDb);
  EXPECT_TRUE(seen.Others().empty());
}

TEST_F(OthersSeenTest, AnUnchangedFileIsNotReadAgain) {
  files.Put(kLock, LockRecord("EIGYO-PC", "Admin"));
  seen.Begin(kDb);
  for (int i = 0; i < 5; ++i) seen.Look();
  EXPECT_EQ(files.HeadReads(), 1);
  EXPECT_EQ(files.StampCalls(), 5);
  files.Put(kLock, LockRecord("EIGYO-PC", "Admin"));  // rewritten: read again
  seen.Look();
  EXPECT_EQ(files.HeadReads(), 2);
}

TEST_F(OthersSeenTest, WithoutALockFileALookAsksForTheFolderAndEveryTenthForTheFileToo) {
  files.Put("D:\\DB\\SALES.MDB", "db");
  seen.Begin(kDb);
  for (int i = 0; i < 20; ++i) seen.Look();
  const std::vector<std::string>& asked = files.StampLog();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "D:\\DB"), 20);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), kLock), 2);

  // A file made in the folder shows at the next look.
  files.Put(kLock, LockRecord("EIGYO-PC"));
  seen.Look();
  EXPECT_EQ(seen.Others().size(), 1u);
}

TEST_F(OthersSeenTest, AFileMadeWithinTheFoldersClockTickIsFoundWithinTenLooks) {
  files.Put("D:\\DB\\SALES.MDB", "db");
  seen.Begin(kDb);
  seen.Look();
  files.PutUnseenByFolder(kLock, LockRecord("EIGYO-PC"));
  int looks = 0;
  while (seen.Others().empty() && looks < 20) {
    seen.Look();
    ++looks;
  }
  EXPECT_EQ(looks, 10);
}

TEST_F(OthersSeenTest, AFailedReadIsTriedAgainAtTheNextLook) {
  files.Put(kLock, LockRecord("EIGYO-PC", "Admin"));
  files.Lock(kLock, 33);  // the engine's byte-range lock
  seen.Begin(kDb);
  seen.Look();
  EXPECT_TRUE(seen.Others().empty());
  files.Unlock(kLock);
  seen.Look();
  EXPECT_EQ(Names(seen.Others()), (NameList{{"EIGYO-PC", "Admin"}}));
}

TEST_F(OthersSeenTest, WithoutADatabaseNothingIsLookedAt) {
  files.Put(kLock, LockRecord("EIGYO-PC", "Admin"));
  seen.Begin("");
  seen.Look();
  EXPECT_EQ(files.StampCalls(), 0);
  EXPECT_TRUE(seen.Others().empty());
}

TEST_F(OthersSeenTest, EveryoneIsOtherWhenThisComputersNameIsUnknown) {
  system.computerName = "";
  files.Put(kLock, LockRecord("KEIRI-PC1", "Admin"));
  seen.Begin(kDb);
  seen.Look();
  EXPECT_EQ(seen.Others().size(), 1u);
}

}  // namespace
}  // namespace quandrel
