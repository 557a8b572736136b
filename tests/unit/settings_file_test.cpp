#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "settings/settings.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;

const char kIni[] = "D:\\Work\\Menu.INI";

class SettingsFileTest : public testing::Test {
 protected:
  FakeFiles files;
  void SetUp() override { files.AddFolder("D:\\Work"); }
};

TEST(SettingsFilePathTest, ExtensionBecomesIni) {
  EXPECT_EQ(SettingsFilePath("D:\\Work\\Menu.exe"), "D:\\Work\\Menu.INI");
  EXPECT_EQ(SettingsFilePath("D:\\Work.v2\\Menu"), "D:\\Work.v2\\Menu.INI");
  EXPECT_EQ(SettingsFilePath("D:\\表\\販売.EXE"), "D:\\表\\販売.INI");
  EXPECT_EQ(SettingsFilePath("C:\\a.b\\ソ.x.exe"), "C:\\a.b\\ソ.x.INI");
}

TEST_F(SettingsFileTest, DefaultsWithoutFile) {
  MainSettings s = LoadMainSettings(files, kIni);
  EXPECT_EQ(s.DBPath, "");
  EXPECT_EQ(s.Title, "");
  EXPECT_EQ(s.ImagePath, "");
  EXPECT_EQ(s.IconPath, "");
  EXPECT_EQ(s.Customize.Text(), "Enable");
  EXPECT_EQ(s.MDBbak.Text(), "Use");
  EXPECT_EQ(s.UnClose.Text(), "Use");
  BackupOptions o = LoadBackupOptions(files, kIni);
  EXPECT_EQ(o.Multi.Text(), "No");
  EXPECT_EQ(o.SubFolder.Text(), "Yes");
  EXPECT_EQ(o.Drive, "");
  EXPECT_EQ(o.PreFix, "BackUp");
  EXPECT_EQ(o.UpDate.Text(), "Yes");
}

TEST_F(SettingsFileTest, UnreadableFileCountsAsMissing) {
  files.Put(kIni, "[System]\r\nUnClose=Never\r\n[BackUp]\r\nMulti=Week\r\n");
  files.Lock(kIni);
  EXPECT_EQ(LoadMainSettings(files, kIni).UnClose.Text(), "Use");
  EXPECT_EQ(LoadBackupOptions(files, kIni).Multi.Text(), "No");
}

TEST_F(SettingsFileTest, LoadsEveryKey) {
  files.Put(kIni,
            "[Execute]\r\nDBPath=SALES.MDB\r\n"
            "[System]\r\nImagePath=D:\\表\\logo.bmp\r\nIconPath=a.ico\r\nTitle=販売管理ソフト表\r\n"
            "Customize=Disable\r\nMDBbak=Never\r\nUnClose=Never\r\n"
            "[BackUp]\r\nMulti=Week\r\nSubFolder=No\r\nDrive=E:\r\nPreFix=Save\r\nUpDate=No\r\n");
  MainSettings s = LoadMainSettings(files, kIni);
  EXPECT_EQ(s.DBPath, "SALES.MDB");
  EXPECT_EQ(s.Title, "販売管理ソフト表");
  EXPECT_EQ(s.ImagePath, "D:\\表\\logo.bmp");
  EXPECT_EQ(s.IconPath, "a.ico");
  EXPECT_EQ(s.Customize.Text(), "Disable");
  EXPECT_EQ(s.MDBbak.Text(), "Never");
  EXPECT_EQ(s.UnClose.Text(), "Never");
  BackupOptions o = LoadBackupOptions(files, kIni);
  EXPECT_EQ(o.Multi.Text(), "Week");
  EXPECT_EQ(o.SubFolder.Text(), "No");
  EXPECT_EQ(o.Drive, "E:");
  EXPECT_EQ(o.PreFix, "Save");
  EXPECT_EQ(o.UpDate.Text(), "No");
}

TEST_F(SettingsFileTest, ValuesLoadAsWordsWithoutInterpretation) {
  files.Put(kIni,
            "[system]\r\nUnClose=\r\nCustomize=disable\r\nMDBbak=use\r\n"
            "[BACKUP]\r\nDrive=c:\r\nSubFolder=\r\nUpDate=yes\r\n");
  MainSettings s = LoadMainSettings(files, kIni);
  EXPECT_EQ(s.UnClose.Text(), "");  // present and empty: not the default "Use"
  EXPECT_EQ(s.Customize.Text(), "disable");
  EXPECT_EQ(s.MDBbak.Text(), "use");
  BackupOptions o = LoadBackupOptions(files, kIni);
  EXPECT_EQ(o.Drive, "c:");
  EXPECT_EQ(o.SubFolder.Text(), "");
  EXPECT_EQ(o.UpDate.Text(), "yes");
}

// A switch is one of the words only when it is the word exactly; any other
// text counts as none of them and is written back as it was.
TEST_F(SettingsFileTest, SwitchWordsAreExactAndOtherTextsComeBackUnchanged) {
  const Word words[] = {Word::Use, Word::Never, Word::Enable, Word::Disable,
                        Word::Yes, Word::No,    Word::Day,    Word::Week};
  for (Word w : words) {
    EXPECT_TRUE(SettingWord::FromText(WordText(w)).Is(w)) << WordText(w);
    EXPECT_EQ(SettingWord(w).Text(), WordText(w));
  }
  for (const char* other : {"use", "NEVER", " Enable", "Disable ", "", "\x82\xA0"}) {
    const SettingWord value = SettingWord::FromText(other);
    for (Word w : words) EXPECT_FALSE(value.Is(w)) << other;
    EXPECT_EQ(value.Text(), other);
  }
  const std::string stored =
      "[Execute]\r\nDBPath=a.mdb\r\n[System]\r\nImagePath=\r\nIconPath=\r\nTitle=\r\nCustomize=disable\r\n"
      "MDBbak=NEVER\r\nUnClose=\x82\xA0\r\n";
  files.Put(kIni, stored);
  EXPECT_TRUE(SaveMainSettings(files, kIni, LoadMainSettings(files, kIni)).ok);
  EXPECT_EQ(files.Get(kIni), std::optional<std::string>(stored));
}

TEST_F(SettingsFileTest, MultiAndPreFixLoadRules) {
  struct Case {
    std::string multi, prefix, wantMulti, wantPrefix;
  };
  for (const Case& c : std::vector<Case>{{"Yes", "", "Day", "BackUp"},
                                         {"yes", "\"\"", "yes", "\"\""},
                                         {"Day", "Save", "Day", "Save"},
                                         {"", " ", "", "BackUp"}}) {
    files.Put(kIni, "[BackUp]\r\nMulti=" + c.multi + "\r\nPreFix=" + c.prefix + "\r\n");
    BackupOptions o = LoadBackupOptions(files, kIni);
    EXPECT_EQ(o.Multi.Text(), c.wantMulti) << c.multi;
    EXPECT_EQ(o.PreFix, c.wantPrefix) << c.prefix;
  }
}

TEST_F(SettingsFileTest, PathValuesLoseOnePairOfQuotesAroundTheWholeValue) {
  struct Case {
    std::string stored, loaded;
  };
  for (const Case& c : std::vector<Case>{
           {"\"C:\\販売 管理\\売上.mdb\"", "C:\\販売 管理\\売上.mdb"},
           {"\"D:\\表\\logo.bmp\"", "D:\\表\\logo.bmp"},  // ends in a 0x5C trail byte before the quote
           {"\"\"a.mdb\"\"", "\"a.mdb\""},                // one pair only
           {"\"\"", ""},
           {"\"", "\""},                                  // a lone quote is no pair
           {"\"a.mdb", "\"a.mdb"},
           {"a \"b\"", "a \"b\""},                        // not around the whole value
           {"a.mdb", "a.mdb"},
       }) {
    files.Put(kIni, "[Execute]\r\nDBPath=" + c.stored + "\r\n[System]\r\nImagePath=" + c.stored +
                        "\r\nIconPath=" + c.stored + "\r\n");
    MainSettings s = LoadMainSettings(files, kIni);
    EXPECT_EQ(s.DBPath, c.loaded) << c.stored;
    EXPECT_EQ(s.ImagePath, c.loaded) << c.stored;
    EXPECT_EQ(s.IconPath, c.loaded) << c.stored;
  }
}

TEST_F(SettingsFileTest, OtherValuesKeepTheirQuotes) {
  files.Put(kIni, "[System]\r\nTitle=\"販売\"\r\nMDBbak=\"Never\"\r\n[BackUp]\r\nPreFix=\"\"\r\nDrive=\"E:\"\r\n");
  MainSettings s = LoadMainSettings(files, kIni);
  EXPECT_EQ(s.Title, "\"販売\"");
  EXPECT_EQ(s.MDBbak.Text(), "\"Never\"");  // not the word, so the snapshot stays on
  BackupOptions o = LoadBackupOptions(files, kIni);
  EXPECT_EQ(o.PreFix, "\"\"");  // the root marker
  EXPECT_EQ(o.Drive, "\"E:\"");
}

TEST_F(SettingsFileTest, LongTitleLoadsAs2047Bytes) {
  files.Put(kIni, "[System]\r\nTitle=" + std::string(3000, 'T') + "\r\n");
  EXPECT_EQ(LoadMainSettings(files, kIni).Title, std::string(2047, 'T'));
}

MainSettings SampleMain() {
  MainSettings s;
  s.DBPath = "SALES.MDB";
  s.Title = "";
  s.ImagePath = "D:\\表\\logo.bmp";
  s.IconPath = "";
  s.Customize = Word::Disable;
  s.MDBbak = Word::Never;
  s.UnClose = Word::Use;
  return s;
}

BackupOptions SampleOptions() {
  BackupOptions o;
  o.Multi = Word::Week;
  o.SubFolder = Word::No;
  o.Drive = "E:";
  o.PreFix = "\"\"";
  o.UpDate = Word::Yes;
  return o;
}

TEST_F(SettingsFileTest, FileWrittenFromScratch) {
  SettingsWrite main = SaveMainSettings(files, kIni, SampleMain());
  EXPECT_TRUE(main.ok);
  EXPECT_EQ(main.failedKey, "");
  EXPECT_EQ(main.message, "");
  ASSERT_TRUE(SaveBackupOptions(files, kIni, SampleOptions()).ok);
  EXPECT_EQ(files.Get(kIni),
            "[Execute]\r\nDBPath=SALES.MDB\r\n"
            "[System]\r\nImagePath=D:\\表\\logo.bmp\r\nIconPath=\r\nTitle=\r\nCustomize=Disable\r\n"
            "MDBbak=Never\r\nUnClose=Use\r\n"
            "[BackUp]\r\nMulti=Week\r\nSubFolder=No\r\nDrive=E:\r\nPreFix=\"\"\r\nUpDate=Yes\r\n");
  // Nothing is left beside it.
  EXPECT_EQ(files.List(), std::vector<std::string>{kIni});
}

TEST_F(SettingsFileTest, SavedValuesLoadBack) {
  ASSERT_TRUE(SaveMainSettings(files, kIni, SampleMain()).ok);
  ASSERT_TRUE(SaveBackupOptions(files, kIni, SampleOptions()).ok);
  MainSettings s = LoadMainSettings(files, kIni);
  EXPECT_EQ(s.DBPath, "SALES.MDB");
  EXPECT_EQ(s.ImagePath, "D:\\表\\logo.bmp");
  EXPECT_EQ(s.Title, "");
  EXPECT_EQ(s.Customize.Text(), "Disable");
  BackupOptions o = LoadBackupOptions(files, kIni);
  EXPECT_EQ(o.Multi.Text(), "Week");
  EXPECT_EQ(o.PreFix, "\"\"");  // the root marker survives the round trip
}

TEST_F(SettingsFileTest, MultiYesIsSavedAsDay) {
  files.Put(kIni, "[BackUp]\r\nMulti=Yes\r\n");
  ASSERT_TRUE(SaveBackupOptions(files, kIni, LoadBackupOptions(files, kIni)).ok);
  EXPECT_EQ(files.Get(kIni), "[BackUp]\r\nMulti=Day\r\nSubFolder=Yes\r\nDrive=\r\nPreFix=BackUp\r\nUpDate=Yes\r\n");
}

TEST_F(SettingsFileTest, SaveKeepsWhatItDoesNotOwn) {
  files.Put(kIni,
            "; written by hand\r\n"
            "[BackUp]\r\nMulti=Day\r\nNote=keep\r\n"
            "\r\n"
            "[execute]\r\ndbpath=old.mdb\r\n"
            "[Custom]\r\nx=1\r\n");
  ASSERT_TRUE(SaveMainSettings(files, kIni, SampleMain()).ok);
  EXPECT_EQ(files.Get(kIni),
            "; written by hand\r\n"
            "[BackUp]\r\nMulti=Day\r\nNote=keep\r\n"
            "\r\n"
            "[execute]\r\ndbpath=SALES.MDB\r\n"
            "[Custom]\r\nx=1\r\n"
            "[System]\r\nImagePath=D:\\表\\logo.bmp\r\nIconPath=\r\nTitle=\r\nCustomize=Disable\r\n"
            "MDBbak=Never\r\nUnClose=Use\r\n");
}

// --- failures ---

const char* const kMainKeys[] = {"DBPath", "ImagePath", "IconPath", "Title", "Customize", "MDBbak", "UnClose"};
const char kOldFile[] =
    "; keep me\r\n"
    "[Execute]\r\nDBPath=old.mdb\r\n"
    "[System]\r\nImagePath=old.bmp\r\nIconPath=old.ico\r\nTitle=old\r\nCustomize=Enable\r\n"
    "MDBbak=Use\r\nUnClose=Never\r\n"
    "[BackUp]\r\nMulti=Week\r\n";

std::vector<std::string> MainValues(const MainSettings& s) {
  return {s.DBPath, s.ImagePath, s.IconPath, s.Title, s.Customize.Text(), s.MDBbak.Text(), s.UnClose.Text()};
}

MainSettings NewMain() {
  MainSettings s;
  s.DBPath = "new.mdb";
  s.ImagePath = "new.bmp";
  s.IconPath = "new.ico";
  s.Title = "新";
  s.Customize = Word::Disable;
  s.MDBbak = Word::Never;
  s.UnClose = Word::Use;
  return s;
}

TEST(SettingsWriteFailureTest, EveryFailingDiskCallStopsTheBatchAndKeepsTheFileWhole) {
  int calls = 0;
  {
    FakeFiles files;
    files.Put(kIni, kOldFile);
    ASSERT_TRUE(SaveMainSettings(files, kIni, NewMain()).ok);
    calls = files.DiskCalls();
  }
  ASSERT_GT(calls, 0);

  const std::vector<std::string> oldValues = {"old.mdb", "old.bmp", "old.ico", "old", "Enable", "Use", "Never"};
  const std::vector<std::string> newValues = MainValues(NewMain());
  std::vector<bool> failedAt(std::size(kMainKeys), false);

  for (int k = 1; k <= calls; ++k) {
    SCOPED_TRACE("failing disk call " + std::to_string(k));
    FakeFiles files;
    files.Put(kIni, kOldFile);
    files.FailCall(k);
    SettingsWrite w = SaveMainSettings(files, kIni, NewMain());
    ASSERT_FALSE(w.ok);
    EXPECT_EQ(w.message, std::string(kIni) + " に書き込めません");

    std::size_t failed = std::size(kMainKeys);
    for (std::size_t i = 0; i < std::size(kMainKeys); ++i) {
      if (w.failedKey == kMainKeys[i]) failed = i;
    }
    ASSERT_LT(failed, std::size(kMainKeys)) << w.failedKey;
    failedAt[failed] = true;

    // Whole file: keys before the failing one are new, the others old, and
    // every line the batch does not own is still there.
    auto bytes = files.Get(kIni);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->rfind("; keep me\r\n", 0), 0u);
    EXPECT_NE(bytes->find("[BackUp]\r\nMulti=Week\r\n"), std::string::npos);
    std::vector<std::string> now = MainValues(LoadMainSettings(files, kIni));
    for (std::size_t i = 0; i < now.size(); ++i) {
      EXPECT_EQ(now[i], i < failed ? newValues[i] : oldValues[i]) << kMainKeys[i];
    }
    EXPECT_EQ(files.List(), std::vector<std::string>{kIni});  // no temporary file left
  }
  // Each key's write was reached by some failure.
  for (std::size_t i = 0; i < failedAt.size(); ++i) EXPECT_TRUE(failedAt[i]) << kMainKeys[i];
}

TEST(SettingsWriteFailureTest, DiskThatStaysBrokenLeavesTheFileWhole) {
  FakeFiles files;
  files.Put(kIni, kOldFile);
  // From the fifth call on (the second key's rename) nothing works any more,
  // not even the removal of the temporary file.
  files.FailCall(5, os_error::kDiskFull, /*forGood=*/true);
  SettingsWrite w = SaveMainSettings(files, kIni, NewMain());
  EXPECT_FALSE(w.ok);
  EXPECT_EQ(w.failedKey, "ImagePath");
  files.FailCall(0);
  MainSettings now = LoadMainSettings(files, kIni);
  EXPECT_EQ(now.DBPath, "new.mdb");
  EXPECT_EQ(now.ImagePath, "old.bmp");
  EXPECT_EQ(now.Title, "old");
}

TEST(SettingsWriteFailureTest, ReadOnlyFolder) {
  FakeFiles files;
  files.MakeFolderReadOnly("D:\\Work");
  SettingsWrite created = SaveBackupOptions(files, kIni, SampleOptions());
  EXPECT_FALSE(created.ok);
  EXPECT_EQ(created.failedKey, "Multi");
  EXPECT_EQ(created.message, "D:\\Work\\Menu.INI に書き込めません");
  EXPECT_FALSE(files.Has(kIni));

  files.Put(kIni, kOldFile);
  SettingsWrite existing = SaveMainSettings(files, kIni, NewMain());
  EXPECT_FALSE(existing.ok);
  EXPECT_EQ(existing.failedKey, "DBPath");
  EXPECT_EQ(files.Get(kIni), kOldFile);
}

TEST(SettingsWriteFailureTest, FileThatCannotBeReadIsNotOverwritten) {
  // Writing without its content would drop every other key of the file.
  FakeFiles files;
  files.Put(kIni, kOldFile);
  files.FailCall(1, os_error::kSharingViolation);  // the read only
  SettingsWrite w = SaveBackupOptions(files, kIni, SampleOptions());
  EXPECT_FALSE(w.ok);
  EXPECT_EQ(w.failedKey, "Multi");
  EXPECT_EQ(files.Get(kIni), kOldFile);
  EXPECT_EQ(files.List(), std::vector<std::string>{kIni});
}

// Only the read's own "not found" means there is no file to keep. When the
// read fails for another reason, the file is kept whole even if a check of
// its existence fails too.
TEST(SettingsWriteFailureTest, OnlyAReadThatFindsNoFileLetsTheFileBeWrittenAnew) {
  struct Case {
    std::uint32_t readError;
    bool fileThere;
    bool written;
  } cases[] = {
      {os_error::kFileNotFound, false, true},
      {os_error::kAccessDenied, true, false},
      {os_error::kSharingViolation, true, false},
      {1117, true, false},  // ERROR_IO_DEVICE
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("read error " + std::to_string(c.readError));
    FakeFiles files;
    if (c.fileThere) files.Put(kIni, kOldFile);
    files.FailCall(1, c.readError);  // the read
    files.FailExistenceChecks();
    SettingsWrite w = SaveBackupOptions(files, kIni, SampleOptions());
    EXPECT_EQ(w.ok, c.written);
    if (c.written) {
      EXPECT_TRUE(files.Has(kIni));
    } else {
      EXPECT_EQ(w.failedKey, "Multi");
      EXPECT_EQ(w.message, std::string(kIni) + " に書き込めません");
      EXPECT_EQ(files.Get(kIni), kOldFile);
      EXPECT_EQ(files.List(), std::vector<std::string>{kIni});
    }
  }
}

}  // namespace
}  // namespace quandrel
