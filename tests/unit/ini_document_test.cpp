#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <string>

namespace quandrel {
namespace {

std::optional<std::string> Read(const std::string& file, const std::string& section, const std::string& key) {
  return IniDocument::Parse(file).Get(section, key);
}

struct ReadCase {
  const char* what;
  std::string file;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.what; }

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsAsTheProfileFunctionsDo) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(Read(c.file, c.section, c.key), c.expected) << c.what;
}

const std::optional<std::string> kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    testing::Values(
        ReadCase{"CR LF lines", "[Execute]\r\nDBPath=D:\\DB\\SALES.MDB\r\n", "Execute", "DBPath",
                 std::string("D:\\DB\\SALES.MDB")},
        ReadCase{"LF-only lines", "[System]\nTitle=x\nMDBbak=Never\n", "System", "MDBbak", std::string("Never")},
        ReadCase{"no line end at the end", "[System]\r\nTitle=last", "System", "Title", std::string("last")},
        ReadCase{"section and key in other case", "[SYSTEM]\r\nuNcLoSe=Never\r\n", "System", "UnClose",
                 std::string("Never")},
        ReadCase{"blanks, tabs and ^Z trimmed", "  [ System ]  \r\n \t Title \t=  a b \t\x1a\r\n", "System", "Title",
                 std::string("a b")},
        ReadCase{"full-width space is a character, not a blank", "[System]\r\nTitle=　題　\r\n", "System", "Title",
                 std::string("　題　")},
        ReadCase{"empty value is the empty text", "[System]\r\nUnClose=\r\n", "System", "UnClose", std::string()},
        ReadCase{"missing key", "[System]\r\nTitle=x\r\n", "System", "UnClose", kNone},
        ReadCase{"missing section", "[System]\r\nTitle=x\r\n", "BackUp", "Title", kNone},
        ReadCase{"empty file", "", "System", "Title", kNone},
        ReadCase{"key of another section", "[System]\r\n[BackUp]\r\nTitle=x\r\n", "System", "Title", kNone},
        ReadCase{"key without '=' has no value", "[System]\r\nTitle\r\n", "System", "Title", kNone},
        ReadCase{"first key of a name decides", "[System]\r\nTitle\r\nTitle=second\r\n", "System", "Title", kNone},
        ReadCase{"root marker", "[BackUp]\r\nPreFix=\"\"\r\n", "BackUp", "PreFix", std::string("\"\"")},
        ReadCase{"quotes are kept", "[System]\r\nTitle= \"Sales\" \r\n", "System", "Title",
                 std::string("\"Sales\"")},
        ReadCase{"'=' inside the value", "[System]\r\nTitle=a=b\r\n", "System", "Title", std::string("a=b")},
        ReadCase{"first of two sections", "[System]\r\nTitle=first\r\n[System]\r\nTitle=second\r\nIconPath=i\r\n",
                 "System", "Title", std::string("first")},
        ReadCase{"second section of a name is not read", "[System]\r\nTitle=first\r\n[system]\r\nIconPath=i\r\n",
                 "System", "IconPath", kNone},
        ReadCase{"first of two keys", "[System]\r\nTitle=first\r\ntitle=second\r\n", "System", "Title",
                 std::string("first")},
        ReadCase{"comment is no key", "[System]\r\n;Title=x\r\n", "System", "Title", kNone},
        ReadCase{"lines before the first section belong to none", "Title=x\r\n[System]\r\n", "System", "Title",
                 kNone},
        ReadCase{"text after the closing bracket", "[System] old\r\nTitle=x\r\n", "System", "Title",
                 std::string("x")},
        ReadCase{"'[' without ']' is no section", "[System\r\nTitle=x\r\n", "System", "Title", kNone},
        ReadCase{"Shift-JIS bytes kept", "[System]\r\nTitle=販売管理ソフト表\r\n", "System", "Title",
                 std::string("販売管理ソフト表")},
        ReadCase{"Shift-JIS section name", "[表]\r\nソ=能\r\n", "表", "ソ", std::string("能")},
        // ア is 83 41 and ヂ is 83 61: folding the second byte would make them equal.
        ReadCase{"trail bytes are not case-folded (section)", "[ア]\r\nk=1\r\n", "ヂ", "k", kNone},
        ReadCase{"trail bytes are not case-folded (key)", "[S]\r\nア=1\r\n", "S", "ヂ", kNone},
        ReadCase{"full-width letters are not case-folded", "[S]\r\nＡ=1\r\n", "S", "ａ", kNone}),
    [](const testing::TestParamInfo<ReadCase>& info) {
      std::string name;
      for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

TEST(IniReadLimitTest, LongValueIsCutTo2047Bytes) {
  const std::string value(3000, 'x');
  auto read = Read("[System]\r\nTitle=" + value + "\r\n", "System", "Title");
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, value.substr(0, 2047));
}

TEST(IniReadLimitTest, CutNeverSplitsADoubleByteCharacter) {
  std::string kanji;
  for (int i = 0; i < 1500; ++i) kanji += "表";
  // 1023 characters fill 2046 bytes; the 1024th would need byte 2048.
  auto even = Read("[S]\r\nk=" + kanji + "\r\n", "S", "k");
  ASSERT_TRUE(even);
  EXPECT_EQ(*even, kanji.substr(0, 2046));
  // One single-byte character first: 2047 bytes fit exactly.
  auto odd = Read("[S]\r\nk=a" + kanji + "\r\n", "S", "k");
  ASSERT_TRUE(odd);
  EXPECT_EQ(*odd, "a" + kanji.substr(0, 2046));
}

TEST(IniReadLimitTest, ValueOf2047BytesIsWhole) {
  const std::string value(2047, 'x');
  EXPECT_EQ(Read("[S]\r\nk=" + value, "S", "k"), value);
}

// No value reads as text that ends in half a character, nor past a zero
// byte in the file; the file itself keeps those bytes until a key is written.
TEST(IniReadLimitTest, ValueNeverEndsInALoneLeadByte) {
  const std::string file = std::string("[S]\r\na=\x81\r\nb=ab\xE0\r\nc=ab\xE0 \r\nd=x\0y\r\ne=\x81\0\r\n", 38);
  EXPECT_EQ(Read(file, "S", "a"), "");
  EXPECT_EQ(Read(file, "S", "b"), "ab");
  EXPECT_EQ(Read(file, "S", "c"), "ab");  // trimmed first, then the lone byte goes
  EXPECT_EQ(Read(file, "S", "d"), "x");
  EXPECT_EQ(Read(file, "S", "e"), "");
  EXPECT_EQ(IniDocument::Parse(file).Serialize(), file);
}

TEST(IniDocumentTest, ParseAndSerializeKeepEveryByte) {
  const std::string file =
      "; settings\r\n\r\n[Execute]\nDBPath = a \r\n\r\n[Other] note\r\nx\r\n=y\r\n\x1a[System\r\n  ;c\tc\r\nlast";
  EXPECT_EQ(IniDocument::Parse(file).Serialize(), file);
}

TEST(IniWriteTest, FileFromScratch) {
  IniDocument ini;
  ini.Set("Execute", "DBPath", "SALES.MDB");
  ini.Set("System", "ImagePath", "");
  ini.Set("System", "Title", "販売管理ソフト表");
  ini.Set("BackUp", "PreFix", "\"\"");
  EXPECT_EQ(ini.Serialize(),
            "[Execute]\r\nDBPath=SALES.MDB\r\n"
            "[System]\r\nImagePath=\r\nTitle=販売管理ソフト表\r\n"
            "[BackUp]\r\nPreFix=\"\"\r\n");
}

TEST(IniWriteTest, ExistingKeyChangesInPlaceAndEverythingElseStays) {
  const std::string before =
      "; kept comment\r\n"
      "\r\n"
      "[execute]\n"
      "  dbpath = old.mdb \n"
      "Unknown=1\n"
      "\r\n"
      "[System] comment\r\n"
      "Title=\r\n";
  IniDocument ini = IniDocument::Parse(before);
  ini.Set("Execute", "DBPath", "new.mdb");
  ini.Set("System", "TITLE", "表");
  // The key keeps the file's spelling; the changed lines end CR LF.
  EXPECT_EQ(ini.Serialize(),
            "; kept comment\r\n"
            "\r\n"
            "[execute]\n"
            "dbpath=new.mdb\r\n"
            "Unknown=1\n"
            "\r\n"
            "[System] comment\r\n"
            "Title=表\r\n");
}

TEST(IniWriteTest, NewKeyFollowsTheLastSettingOfItsSection) {
  IniDocument ini = IniDocument::Parse(
      "[System]\r\n"
      "Title=t\r\n"
      "; between\r\n"
      "IconPath=i\r\n"
      "\r\n"
      "; about the backup\r\n"
      "[BackUp]\r\n"
      "Multi=No\r\n");
  ini.Set("System", "UnClose", "Use");
  ini.Set("BackUp", "UpDate", "Yes");
  EXPECT_EQ(ini.Serialize(),
            "[System]\r\n"
            "Title=t\r\n"
            "; between\r\n"
            "IconPath=i\r\n"
            "UnClose=Use\r\n"
            "\r\n"
            "; about the backup\r\n"
            "[BackUp]\r\n"
            "Multi=No\r\n"
            "UpDate=Yes\r\n");
}

TEST(IniWriteTest, NewKeyInASectionWithoutSettingsFollowsItsHeader) {
  IniDocument ini = IniDocument::Parse("[System]\r\n\r\n; none yet\r\n[BackUp]\r\n");
  ini.Set("System", "Title", "t");
  EXPECT_EQ(ini.Serialize(), "[System]\r\nTitle=t\r\n\r\n; none yet\r\n[BackUp]\r\n");
}

TEST(IniWriteTest, NewSectionGoesAtTheEndWithoutBlankLine) {
  IniDocument ini = IniDocument::Parse("[Execute]\r\nDBPath=a\r\n\r\n; end\r\n");
  ini.Set("BackUp", "Multi", "Day");
  EXPECT_EQ(ini.Serialize(), "[Execute]\r\nDBPath=a\r\n\r\n; end\r\n[BackUp]\r\nMulti=Day\r\n");
}

TEST(IniWriteTest, LastLineWithoutLineEndGetsOne) {
  IniDocument section = IniDocument::Parse("[Execute]\r\nDBPath=a");
  section.Set("BackUp", "Multi", "No");
  EXPECT_EQ(section.Serialize(), "[Execute]\r\nDBPath=a\r\n[BackUp]\r\nMulti=No\r\n");

  IniDocument key = IniDocument::Parse("[Execute]\nDBPath=a");
  key.Set("Execute", "Other", "b");
  EXPECT_EQ(key.Serialize(), "[Execute]\nDBPath=a\r\nOther=b\r\n");
}

TEST(IniWriteTest, FirstOfTwoSectionsIsWritten) {
  IniDocument ini = IniDocument::Parse("[S]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n");
  ini.Set("s", "k", "10");
  ini.Set("S", "j", "30");
  EXPECT_EQ(ini.Serialize(), "[S]\r\nk=10\r\nj=30\r\n[S]\r\nk=2\r\nj=3\r\n");
}

TEST(IniWriteTest, KeyWithoutEqualsSignGetsItsValue) {
  IniDocument ini = IniDocument::Parse("[S]\r\nTitle\r\nx=1\r\n");
  ini.Set("S", "Title", "t");
  EXPECT_EQ(ini.Serialize(), "[S]\r\nTitle=t\r\nx=1\r\n");
}

TEST(IniWriteTest, LineBreaksInAValueCannotForgeLines) {
  IniDocument ini = IniDocument::Parse("[System]\r\nTitle=x\r\n");
  ini.Set("System", "Title", "a\r\n[Execute]\r\nDBPath=evil.exe\nb\r");
  EXPECT_EQ(ini.Serialize(), "[System]\r\nTitle=a[Execute]DBPath=evil.exeb\r\n");
  EXPECT_EQ(ini.Get("Execute", "DBPath"), std::nullopt);
}

TEST(IniWriteTest, BlanksAroundAValueAreNotStored) {
  IniDocument ini;
  ini.Set("S", "k", " \t v w \t");
  EXPECT_EQ(ini.Serialize(), "[S]\r\nk=v w\r\n");
}

TEST(IniWriteTest, WrittenValuesReadBack) {
  for (const std::string value : {"", "\"\"", "\"quoted\"", "D:\\表\\ソフト\\能.mdb", "a=b", ";x", "[x]"}) {
    IniDocument ini = IniDocument::Parse("[S]\r\nk=old\r\n");
    ini.Set("S", "k", value);
    ini.Set("T", "k", value);
    IniDocument reread = IniDocument::Parse(ini.Serialize());
    EXPECT_EQ(reread.Get("S", "k"), value);
    EXPECT_EQ(reread.Get("T", "k"), value);
  }
}

}  // namespace
}  // namespace quandrel
