#include <gtest/gtest.h>

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

TEST(SjisTest, LoneLeadByteAtTheEndDoesNotOverrun) {
  std::string s = "a\\\x95";
  EXPECT_EQ(FileNamePart(s), "\x95");
}

}  // namespace
}  // namespace quandrel::text
