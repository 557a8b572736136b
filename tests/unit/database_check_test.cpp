// The database check: a file passes when it is at least one page long, a
// whole number of pages, and its first bytes name a Jet or ACE database.
// Made-up headers cover the rules; a real Access file (fetched by
// tools/bootstrap.sh, never committed) and variants damaged in the test
// show them on real bytes, and mdbtools, where it is installed, judges the
// same files independently.
#include "launch/database_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "source_tree.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;

// The first page of a database as the format describes it: page type 0,
// then 00 01 00 00, the signature with its zero byte, the version byte.
std::string Header(const char* signature, char version) {
  std::string head("\x00\x01\x00\x00", 4);
  head += signature;
  head += '\0';
  head += version;
  return head;
}

std::string Database(const char* signature, char version, std::size_t size) {
  std::string bytes = Header(signature, version);
  bytes.resize(size, '\x5A');
  return bytes;
}

DatabaseCheck Check(const std::string& bytes) {
  FakeFiles files;
  files.Put("D:\\DB\\SALES.MDB", bytes);
  return CheckDatabase(files, "D:\\DB\\SALES.MDB");
}

TEST(DatabaseCheckTest, RulesOverMadeUpFiles) {
  struct Case {
    const char* name;
    std::string bytes;
    DatabaseFault fault;
    std::uint32_t pageSize;
    bool ace;
  } cases[] = {
      {"Jet 4, three pages", Database("Standard Jet DB", 1, 3 * 4096), DatabaseFault::None, 4096, false},
      {"Jet 3, pages of 2048", Database("Standard Jet DB", 0, 3 * 2048), DatabaseFault::None, 2048, false},
      {"ACE (Access 2007)", Database("Standard ACE DB", 2, 4096), DatabaseFault::None, 4096, true},
      {"ACE, a later version", Database("Standard ACE DB", 5, 2 * 4096), DatabaseFault::None, 4096, true},
      {"one page exactly", Database("Standard Jet DB", 1, 4096), DatabaseFault::None, 4096, false},
      {"empty", "", DatabaseFault::TooShort, 0, false},
      {"shorter than the header", Header("Standard Jet DB", 1).substr(0, 20), DatabaseFault::TooShort, 0, false},
      {"the header and nothing more", Header("Standard Jet DB", 1), DatabaseFault::TooShort, 4096, false},
      {"Jet 4, less than a page", Database("Standard Jet DB", 1, 2048), DatabaseFault::TooShort, 4096, false},
      {"cut in the middle of a page", Database("Standard Jet DB", 1, 4096 + 100), DatabaseFault::NotWholePages,
       4096, false},
      {"Jet 3, a byte too many", Database("Standard Jet DB", 0, 2048 + 1), DatabaseFault::NotWholePages, 2048,
       false},
      {"other signature", Database("Standard XYZ DB", 1, 4096), DatabaseFault::NotADatabase, 0, false},
      {"signature without its zero byte",
       std::string("\x00\x01\x00\x00Standard Jet DBX", 20) + std::string(4096 - 20, 'x'),
       DatabaseFault::NotADatabase, 0, false},
      {"page type not 0", "\x01" + Database("Standard Jet DB", 1, 4096).substr(1), DatabaseFault::NotADatabase, 0,
       false},
      {"text", std::string(8192, 'a'), DatabaseFault::NotADatabase, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DatabaseCheck check = Check(c.bytes);
    EXPECT_EQ(check.fault, c.fault);
    EXPECT_EQ(check.Passes(), c.fault == DatabaseFault::None);
    EXPECT_EQ(check.pageSize, c.pageSize);
    EXPECT_EQ(check.ace, c.ace);
    EXPECT_EQ(check.size, c.bytes.size());
  }
}

TEST(DatabaseCheckTest, ReadsOnlyTheFirstBytes) {
  // A file that reads as a database from its head is judged on its size
  // alone after that; a fake that hands out only what was asked shows how
  // much was asked.
  class CountingFiles : public FakeFiles {
   public:
    std::size_t asked = 0;
    OsResult ReadHead(const std::string& path, std::size_t count, std::string* head, std::uint64_t* size) override {
      asked = count;
      return FakeFiles::ReadHead(path, count, head, size);
    }
  } files;
  files.Put("D:\\DB\\BIG.MDB", Database("Standard Jet DB", 1, 64 * 4096));
  EXPECT_TRUE(CheckDatabase(files, "D:\\DB\\BIG.MDB").Passes());
  EXPECT_LE(files.asked, 4096u);
  EXPECT_EQ(files.DiskCalls(), 0);  // changes nothing, counts as no disk call
}

TEST(DatabaseCheckTest, AFileThatCannotBeReadFailsWithThePlatformsReason) {
  FakeFiles files;
  fakes::FakeSystem system;
  files.Put("D:\\DB\\SALES.MDB", Database("Standard Jet DB", 1, 4096));
  files.Lock("D:\\DB\\SALES.MDB", os_error::kAccessDenied);
  DatabaseCheck locked = CheckDatabase(files, "D:\\DB\\SALES.MDB");
  EXPECT_EQ(locked.fault, DatabaseFault::Unreadable);
  EXPECT_EQ(DatabaseFaultReason(system, locked), "ファイルを読めません。アクセスが拒否されました。");
  DatabaseCheck missing = CheckDatabase(files, "D:\\DB\\GONE.MDB");
  EXPECT_EQ(missing.fault, DatabaseFault::Unreadable);
  EXPECT_EQ(missing.read.error, os_error::kFileNotFound);
}

TEST(DatabaseCheckTest, ReasonsSayWhatIsWrongWithTheFile) {
  fakes::FakeSystem system;
  EXPECT_EQ(DatabaseFaultReason(system, Check("")), "ファイルが空です（0 バイト）。");
  EXPECT_EQ(DatabaseFaultReason(system, Check("old\r\n")), "ファイルが短すぎます（5 バイト）。");
  EXPECT_EQ(DatabaseFaultReason(system, Check(Database("Standard Jet DB", 1, 2048))),
            "ファイルが短すぎます（2048 バイト）。");
  EXPECT_EQ(DatabaseFaultReason(system, Check(Database("Standard Jet DB", 1, 5000))),
            "ファイルの大きさ（5000 バイト）が 4096 バイトのページの倍数ではありません。途中で切れている可能性があります。");
  EXPECT_EQ(DatabaseFaultReason(system, Check(std::string(4096, 'x'))),
            "ファイルの先頭が Access のデータベースの形になっていません。");
  EXPECT_EQ(DatabaseFaultReason(system, Check(Database("Standard Jet DB", 1, 4096))), "");
}

TEST(DatabaseTargetTest, MdbAndAccdbInAnyCase) {
  for (const char* yes : {"D:\\DB\\SALES.MDB", "sales.mdb", "D:\\表\\売上.Accdb", "x.ACCDB"}) {
    EXPECT_TRUE(IsDatabaseTarget(yes)) << yes;
  }
  for (const char* no : {"D:\\DB\\SALES.MDB.TMP", "SALES.ACC", "SALES.ACCDE", "SALES.LACCDB", "SALES.LDB",
                         "D:\\DB.MDB\\SALES", "SALES.MDBX", "", "MDB", "ACCDB"}) {
    EXPECT_FALSE(IsDatabaseTarget(no)) << no;
  }
}

// ---------------------------------------------------------------------------
// A real Access file and damaged copies of it.

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string kFruitPath = testing_paths::SourceTreePath("build/test-data/fruit.mdb");

struct Variant {
  std::string name;
  std::string bytes;
  bool passes;
  std::uint32_t pageSize;
  bool ace;
};

// The sound file, an ACE header put on it, and the damage the check must
// see: emptied, cut in the middle of a page, the first page zeroed, and
// another file's bytes under the database's name.
std::vector<Variant> Variants(const std::string& fruit) {
  std::string ace = fruit;
  ace.replace(4, 16, std::string("Standard ACE DB\0", 16));
  ace[0x14] = 3;  // Access 2010
  std::string zeroed = fruit;
  std::fill(zeroed.begin(), zeroed.begin() + 4096, '\0');
  const std::string other = ReadWhole(testing_paths::SourceTreePath("docs/ja/guide.html")).value_or("");
  return {
      {"sound", fruit, true, 4096, false},
      {"ACE header", ace, true, 4096, true},
      {"empty", "", false, 0, false},
      {"cut in the middle of a page", fruit.substr(0, fruit.size() / 2 + 1000), false, 4096, false},
      {"first page zeroed", zeroed, false, 0, false},
      {"another file's bytes", other, false, 0, false},
  };
}

class RealDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    std::optional<std::string> bytes = ReadWhole(kFruitPath);
    if (!bytes) GTEST_SKIP() << kFruitPath << " is missing: tools/bootstrap.sh fetches it (npm package mdb 0.1.0)";
    fruit_ = *bytes;
  }
  std::string fruit_;
};

TEST_F(RealDatabase, TheSoundFilePassesAndEveryDamagedCopyFails) {
  ASSERT_EQ(fruit_.size(), 606208u);
  for (const Variant& v : Variants(fruit_)) {
    SCOPED_TRACE(v.name);
    const DatabaseCheck check = Check(v.bytes);
    EXPECT_EQ(check.Passes(), v.passes);
    EXPECT_EQ(check.pageSize, v.pageSize);
    EXPECT_EQ(check.ace, v.ace);
  }
}

// mdbtools reads the whole catalogue of a file: where it can, the file is
// a database; where the check passes a file, mdbtools must be able to read
// it and name the same engine.
std::string Shell(const std::string& command, int* status) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    *status = ::pclose(pipe);
  } else {
    *status = -1;
  }
  return out;
}

TEST_F(RealDatabase, AgreesWithMdbtools) {
  int status = 0;
  Shell("command -v mdb-tables >/dev/null 2>&1 && command -v mdb-ver >/dev/null 2>&1", &status);
  if (status != 0) GTEST_SKIP() << "mdbtools is not installed (Debian package mdbtools; tools/bootstrap.sh installs it)";
  const std::string dir = ::testing::TempDir();
  for (const Variant& v : Variants(fruit_)) {
    SCOPED_TRACE(v.name);
    const std::string path = dir + "/quandrel-check.mdb";
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(v.bytes.data(), static_cast<std::streamsize>(v.bytes.size()));
    }
    int tables = 0, version = 0;
    Shell("mdb-tables -1 '" + path + "' >/dev/null 2>&1", &tables);
    std::string engine = Shell("mdb-ver '" + path + "' 2>/dev/null", &version);
    while (!engine.empty() && (engine.back() == '\n' || engine.back() == '\r')) engine.pop_back();
    const DatabaseCheck check = Check(v.bytes);
    if (check.Passes()) {
      EXPECT_EQ(tables, 0) << "mdbtools can't read a file the check passes";
      EXPECT_EQ(engine.rfind(check.ace ? "ACE" : "JET", 0), 0u) << engine;
      EXPECT_EQ(engine == "JET3", check.pageSize == 2048) << engine;
    }
    if (tables != 0) {
      EXPECT_FALSE(check.Passes()) << "mdbtools can't read it, yet the check passes it";
    }
    std::remove(path.c_str());
  }
}

}  // namespace
}  // namespace quandrel
