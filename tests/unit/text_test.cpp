#include <gtest/gtest.h>

#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel::text {
namespace {

// "表" is 95 5C and "ソ" is 83 5C in CP932: their second byte is a backslash.
TEST(SjisTest, LiteralsAreCompiledToCp932) {
  EXPECT_EQ(std::string("表"), "\x95\x5C");
  EXPECT_EQ(std::string("ソ"), "\x83\x5C");
}

TEST(SjisTest, FileNamePartIgnoresTrailByteBackslash) {
  EXPECT_EQ(FileNamePart("D:\\Work\\Sales"), "Sales");
  EXPECT_EQ(FileNamePart("D:Sales"), "Sales");
  EXPECT_EQ(FileNamePart("Sales"), "Sales");
  EXPECT_EQ(FileNamePart("D:\\データ\\表.mdb"), "表.mdb");
  EXPECT_EQ(FileNamePart("D:\\ソフト"), "ソフト");
  EXPECT_EQ(FileNamePart("能力表"), "能力表");
  EXPECT_EQ(FileNamePart("D:\\Work\\"), "");
}

TEST(SjisTest, FolderPart) {
  EXPECT_EQ(FolderPart("D:\\Work\\Menu.INI"), "D:\\Work");
  EXPECT_EQ(FolderPart("D:\\表\\a.mdb"), "D:\\表");
  EXPECT_EQ(FolderPart("表.mdb"), "");
}

TEST(SjisTest, ExtensionFollowsLastSeparator) {
  EXPECT_EQ(Extension("D:\\DB\\SALES.MDB"), ".MDB");
  EXPECT_EQ(Extension("D:\\DB.OLD\\SALES"), "");
  EXPECT_EQ(Extension("C:\\a\\b.tar.gz"), ".gz");
  EXPECT_EQ(Extension(""), "");
  EXPECT_EQ(Extension("D:\\表.mdb"), ".mdb");
}

TEST(SjisTest, UpperAsciiKeepsDoubleByteCharacters) {
  // "ア" is 83 41 and "ヂ" is 83 61: a trail byte 0x61 ('a') must stay.
  EXPECT_EQ(UpperAscii("sales.mdb"), "SALES.MDB");
  EXPECT_EQ(UpperAscii("ヂa"), "ヂA");
  EXPECT_EQ(UpperAsciiBytes("ヂa"), "\x83\x41" "A");
  EXPECT_TRUE(HasExtension("x.Mdb", ".MDB"));
  EXPECT_FALSE(HasExtension("x.mdbx", ".MDB"));
}

TEST(SjisTest, ByteFindSeesTrailBytesAndCharFindDoesNot) {
  std::string s = "ソ\\";
  EXPECT_EQ(ByteFind(s, "\\"), 1u);
  EXPECT_EQ(CharFindFirstOf(s, "\\"), 2u);
  EXPECT_EQ(CharFindLastOf("表", "\\"), std::string::npos);
}

TEST(SjisTest, CutBytesMayHalveACharacter) {
  EXPECT_EQ(CutBytes("表表", 3), "\x95\x5C\x95");
  EXPECT_EQ(CutBytes("abc", 10), "abc");
}

// The one character-safe cut: never half a character at its end, whether
// the cut or the text itself would leave one.
TEST(SjisTest, CutCharactersKeepsWholeCharactersOnly) {
  const std::string hyo = "表";  // 95 5C
  struct Case {
    std::string text;
    std::size_t n;
    std::string expected;
  } cases[] = {
      {"abc", 10, "abc"},
      {"abc", 2, "ab"},
      {hyo + hyo, 4, hyo + hyo},
      {hyo + hyo, 3, hyo},          // the second 表 would lose its 5C
      {hyo + hyo, 1, ""},
      {"ab\x81", 10, "ab"},        // a lead byte with nothing after it
      {"ab\x81", 3, "ab"},
      {"a\x81\x81", 3, "a\x81\x81"},  // 81 81 is one character
      {"\xE0", 5, ""},
      {"", 5, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CutCharacters(c.text, c.n), c.expected) << c.text << " " << c.n;
}

TEST(SjisTest, CharacterCountTakesALeadByteAndItsTrailAsOne) {
  EXPECT_EQ(CharacterCount(""), 0u);
  EXPECT_EQ(CharacterCount("abc"), 3u);
  EXPECT_EQ(CharacterCount("表ソ能"), 3u);       // 5C trail bytes are no characters of their own
  EXPECT_EQ(CharacterCount("ｱｲ"), 2u);           // half-width kana are single bytes
  EXPECT_EQ(CharacterCount("a\x81"), 2u);        // a lone lead byte at the end still counts
}

TEST(SjisTest, WholeCharactersEndsAtAZeroAndDropsALoneLeadByte) {
  EXPECT_EQ(WholeCharacters("HELLO-TITLE"), "HELLO-TITLE");
  EXPECT_EQ(WholeCharacters("\x81"), "");
  EXPECT_EQ(WholeCharacters("ab\xE0"), "ab");
  EXPECT_EQ(WholeCharacters("売上表"), "売上表");
  EXPECT_EQ(WholeCharacters(std::string("ab\x81\0cd", 6)), "ab");  // the platform would stop at the zero
  EXPECT_EQ(WholeCharacters(std::string("\0x", 2)), "");
}

TEST(SjisTest, TrimTakesTheProfileFunctionsBlanks) {
  EXPECT_EQ(Trim(" \t\r\n\v\f\x1a" "a b" " \x1a\r\n"), "a b");
  EXPECT_EQ(Trim("表 "), "表");  // 表's 5C is no blank anyway
  EXPECT_EQ(Trim(std::string("\0a", 2)), std::string("\0a", 2));
  EXPECT_EQ(Trim("   "), "");
}

TEST(SjisTest, FolderOfKeepsTheBackslashOfADriveRoot) {
  EXPECT_EQ(FolderOf("C:\\Apps\\Sales\\Menu.exe"), "C:\\Apps\\Sales");
  EXPECT_EQ(FolderOf("C:\\Menu.exe"), "C:\\");
  // The second byte of ソ is no separator.
  EXPECT_EQ(FolderOf("C:\\Apps\\販売表\\ソフト.exe"), "C:\\Apps\\販売表");
  EXPECT_EQ(FolderOf("C:\\販売表\\ソフト\\Menu.exe"), "C:\\販売表\\ソフト");
  EXPECT_EQ(FolderOf("Menu.exe"), "");
}

TEST(SjisTest, LoneLeadByteAtTheEndDoesNotOverrun) {
  std::string s = "a\\\x95";
  EXPECT_EQ(FileNamePart(s), "\x95");
}

// Parts go in in order and as they are: a "%s" or a 0x5C trail byte inside
// a path is not read as part of the template.
TEST(MessageFillTest, PartsGoInOnceInOrder) {
  EXPECT_EQ(messages::Fill("%s を更新できません\n\n%s", {"D:\\表\\%s.MDB", "理由"}),
            "D:\\表\\%s.MDB を更新できません\n\n理由");
  EXPECT_EQ(messages::Fill("「 %s 」", {"ソ"}), "「 ソ 」");
  EXPECT_EQ(messages::Fill("%s と %s", {"A"}), "A と ");
  EXPECT_EQ(messages::Fill("100%", {"A"}), "100%");
}

}  // namespace
}  // namespace quandrel::text
