#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "fakes/fake_files.h"
#include "settings/settings.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;

struct ShortenCase {
  const char* what;
  std::string settingsPath;
  std::string existing;  // a file that exists ("" for none)
  std::string typed;
  std::string expected;
};

void PrintTo(const ShortenCase& c, std::ostream* os) { *os << c.what; }

class ShortenPathTest : public testing::TestWithParam<ShortenCase> {};

TEST_P(ShortenPathTest, StoresTheShortestFaithfulName) {
  const ShortenCase& c = GetParam();
  FakeFiles files;
  files.SetCurrentDirectoryForTest("D:\\Work");
  if (!c.existing.empty()) files.Put(c.existing, "x");
  EXPECT_EQ(ShortenPath(files, c.typed, c.settingsPath), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortenPathTest,
    testing::Values(
        ShortenCase{"in the settings folder", "D:\\Work\\Menu.INI", "D:\\Work\\SALES.MDB", "D:\\Work\\SALES.MDB",
                    "SALES.MDB"},
        ShortenCase{"relative, in the settings folder", "D:\\Work\\Menu.INI", "D:\\Work\\SALES.MDB", "SALES.MDB",
                    "SALES.MDB"},
        ShortenCase{"folders compared upper-cased", "d:\\work\\Menu.INI", "D:\\WORK\\Sales.mdb", "D:\\WORK\\Sales.mdb",
                    "Sales.mdb"},
        ShortenCase{"other folder", "D:\\Work\\Menu.INI", "D:\\DB\\SALES.MDB", "D:\\DB\\SALES.MDB",
                    "D:\\DB\\SALES.MDB"},
        ShortenCase{"subfolder of the settings folder", "D:\\Work\\Menu.INI", "D:\\Work\\DB\\SALES.MDB",
                    "DB\\SALES.MDB", "D:\\Work\\DB\\SALES.MDB"},
        ShortenCase{"missing file stays as typed", "D:\\Work\\Menu.INI", "", "..\\sales.mdb", "..\\sales.mdb"},
        ShortenCase{"empty stays empty", "D:\\Work\\Menu.INI", "", "", ""},
        // 表 is 95 5C and ソ is 83 5C: their second byte is no separator.
        ShortenCase{"folder hyo, 95 5C", "D:\\表\\Menu.INI", "D:\\表\\a.mdb", "D:\\表\\a.mdb", "a.mdb"},
        ShortenCase{"folder sofuto, 83 5C first", "D:\\ソフト\\Menu.INI", "D:\\ソフト\\能力.mdb", "D:\\ソフト\\能力.mdb",
                    "能力.mdb"},
        ShortenCase{"file name hyo.mdb", "D:\\Work\\Menu.INI", "D:\\Work\\表.mdb", "D:\\Work\\表.mdb", "表.mdb"},
        ShortenCase{"file under hyo, settings elsewhere", "D:\\Work\\Menu.INI", "D:\\表\\a.mdb", "D:\\表\\a.mdb",
                    "D:\\表\\a.mdb"},
        // ア is 83 41 and ヂ is 83 61: upper-casing must leave the second byte alone.
        ShortenCase{"a and di, 83 41 and 83 61, differ", "D:\\ア\\Menu.INI", "D:\\ヂ\\a.mdb", "D:\\ヂ\\a.mdb",
                    "D:\\ヂ\\a.mdb"}),
    [](const testing::TestParamInfo<ShortenCase>& info) {
      std::string name;
      for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

}  // namespace
}  // namespace quandrel
