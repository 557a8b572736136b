#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "backup_window/backup_rules.h"

namespace quandrel {
namespace {

struct DateCase {
  std::string shortDate;
  std::string expected;
};

TEST(DateFolderNameTest, YearMonthDayWithZeroPadding) {
  for (const DateCase& c : std::vector<DateCase>{
           {"2024/3/5", "2024_03_05"},
           {"2024/03/05", "2024_03_05"},
           {"2024/12/31", "2024_12_31"},
           {"2024/3/15", "2024_03_15"},
           {"2024/11/5", "2024_11_05"},
           {"24/03/05", "24_03_05"},
           // A weekday in parentheses, with or without a blank before it.
           {"2024/03/05(火)", "2024_03_05"},
           {"2024/3/5 (火)", "2024_03_05"},
           {"2024/03/05\t", "2024_03_05"},
       }) {
    EXPECT_EQ(DateFolderName(c.shortDate), c.expected) << c.shortDate;
  }
}

TEST(DateFolderNameTest, NoBlankOrControlByteAroundTheDateReachesTheFolderName) {
  for (const DateCase& c : std::vector<DateCase>{
           {"2024/03/05\x01", "2024_03_05"},
           {"2024/3/5\x1f", "2024_03_05"},
           {"2024/03/05\x7f", "2024_03_05\x7f"},  // DEL is above 0x20: not a control byte of the rule
           {"2024/03/05\x1b(火)", "2024_03_05"},
           {"2024/03/\x02\x03" "5 ", "2024_03_05"},
           {"\x01\x02" "2024/03/05", "2024_03_05"},
           {" \x0e" "2024/3/5\r\n", "2024_03_05"},
       }) {
    EXPECT_EQ(DateFolderName(c.shortDate), c.expected) << c.shortDate;
  }
}

TEST(DateFolderNameTest, OddTextsGiveANameWithoutFailing) {
  for (const DateCase& c : std::vector<DateCase>{
           {"", "__"},
           {"/", "__"},
           {"2024/", "2024__"},
           // No second "/": the month is empty and the day follows the first byte.
           {"2024/03", "2024__03"},
           {"2024-03-05", "__24-03-05"},
           {"(", "__"},
           {"火曜日", "__曜日"},
       }) {
    EXPECT_EQ(DateFolderName(c.shortDate), c.expected) << c.shortDate;
  }
  // Parts longer than the rule's 10-byte windows are cut, never overrun.
  EXPECT_EQ(DateFolderName("2024/03/05123456789012345"), "2024_03_0512345");
}

TEST(WeekdayFolderNameTest, SundayIsOne) {
  const std::vector<std::string> names = {"(1)_日曜", "(2)_月曜", "(3)_火曜", "(4)_水曜",
                                          "(5)_木曜", "(6)_金曜", "(7)_土曜"};
  for (int d = 1; d <= 7; ++d) EXPECT_EQ(WeekdayFolderName(d), names[d - 1]) << d;
  EXPECT_EQ(WeekdayFolderName(0), "");
  EXPECT_EQ(WeekdayFolderName(8), "");
}

struct TailCase {
  std::string source, prefix;
  Multiplex mode;
  std::string expected;
};

TEST(DestinationTailTest, PrefixSourcePathAndDateLevel) {
  const std::string date = "2024_03_05", week = "(3)_火曜";
  for (const TailCase& c : std::vector<TailCase>{
           {"C:\\Apps\\Sales", "BackUp", Multiplex::None, "\\BackUp\\Apps\\Sales"},
           {"C:\\Apps\\Sales", "BackUp", Multiplex::Date, "\\BackUp\\Apps\\Sales\\2024_03_05"},
           {"C:\\Apps\\Sales", "BackUp", Multiplex::Weekday, "\\BackUp\\Apps\\Sales\\(3)_火曜"},
           {"C:\\Apps\\Sales", "\"\"", Multiplex::None, "\\Apps\\Sales"},
           {"C:\\Apps\\Sales", "\"\"", Multiplex::Weekday, "\\Apps\\Sales\\(3)_火曜"},
           // An executable in a drive's root.
           {"C:\\", "BackUp", Multiplex::None, "\\BackUp\\"},
           {"C:\\", "\"\"", Multiplex::None, "\\"},
           {"C:\\", "BackUp", Multiplex::Date, "\\BackUp\\\\2024_03_05"},
           // The prefix is used as typed; only exactly two quotes are the marker.
           {"C:\\Apps", " 控え ", Multiplex::None, "\\ 控え \\Apps"},
           {"C:\\Apps", "A\\B", Multiplex::None, "\\A\\B\\Apps"},
           {"C:\\Apps", "\"", Multiplex::None, "\\\"\\Apps"},
           {"C:\\Apps", "\"\"\"", Multiplex::None, "\\\"\"\"\\Apps"},
           // A network path: the server's name is a folder of its own.
           {"\\\\server\\share\\販売管理", "BackUp", Multiplex::None, "\\BackUp\\server\\share\\販売管理"},
           {"\\\\server\\share\\販売管理", "\"\"", Multiplex::Date, "\\server\\share\\販売管理\\2024_03_05"},
           // 0x5C trail bytes pass through unchanged.
           {"C:\\販売表\\ソフト", "BackUp", Multiplex::Date, "\\BackUp\\販売表\\ソフト\\2024_03_05"},
       }) {
    EXPECT_EQ(DestinationTail(c.source, c.prefix, c.mode, date, week), c.expected) << c.source << " " << c.prefix;
  }
}

TEST(DestinationTailTest, SourcePathKeepsAtMostOneHundredBytesAfterTheDrive) {
  const std::string exactly = "C:\\" + std::string(99, 'a');  // 102 bytes
  EXPECT_EQ(DestinationTail(exactly, "B", Multiplex::None, "", ""), "\\B\\" + std::string(99, 'a'));
  const std::string longer = "C:\\" + std::string(150, 'a');
  EXPECT_EQ(DestinationTail(longer, "B", Multiplex::Date, "2024_03_05", ""),
            "\\B\\" + std::string(99, 'a') + "\\2024_03_05");
}

TEST(DestinationTailTest, CutNeverLeavesHalfACharacter) {
  // Byte 100 after the drive would be the lead byte of 表; a lone lead byte
  // would pair with the next backslash and hide the date folder level.
  const std::string source = "C:\\" + std::string(98, 'a') + "表表";
  const std::string tail = DestinationTail(source, "B", Multiplex::Date, "2024_03_05", "");
  EXPECT_EQ(tail, "\\B\\" + std::string(98, 'a') + "\\2024_03_05");
  const std::string odd = "C:\\" + std::string(97, 'a') + "表表";
  EXPECT_EQ(DestinationTail(odd, "B", Multiplex::None, "", ""), "\\B\\" + std::string(97, 'a') + "表");
}

TEST(DestinationTailTest, NoDriveInTheSourceGivesNoPath) {
  EXPECT_EQ(DestinationTail("", "BackUp", Multiplex::None, "", ""), "\\BackUp");
  EXPECT_EQ(DestinationTail("C:", "BackUp", Multiplex::None, "", ""), "\\BackUp");
}

TEST(CopyProgramPathTest, XcopyOfTheSystemDirectory) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\Windows\\system32", "C:\\Windows\\system32\\xcopy.exe"},
      {"C:\\WINDOWS\\SysWOW64\\", "C:\\WINDOWS\\SysWOW64\\xcopy.exe"},
      {"C:\\", "C:\\xcopy.exe"},
      // A trail byte 0x5C at the end is no separator: the name still gets one.
      {"D:\\ソ", "D:\\ソ\\xcopy.exe"},
      // An unknown system directory gives no path, never a bare name.
      {"", ""},
  };
  for (const auto& [folder, expected] : cases) EXPECT_EQ(CopyProgramPath(folder), expected) << folder;
}

struct ParamCase {
  bool updateOnly, withSubfolders;
  std::string expected;
};

TEST(CopyParametersTest, SwitchesInTheirOrder) {
  const std::string head = "\"C:\\Apps\\Sales\" \"E:\\BackUp\\Apps\\Sales\\2024_03_05\\\" /C /F";
  for (const ParamCase& c : std::vector<ParamCase>{
           {true, true, head + " /D /E"},
           {true, false, head + " /D"},
           {false, true, head + " /E"},
           {false, false, head},
       }) {
    EXPECT_EQ(CopyParameters("C:\\Apps\\Sales", "E:\\BackUp\\Apps\\Sales\\2024_03_05", c.updateOnly,
                             c.withSubfolders),
              c.expected);
  }
  EXPECT_EQ(CopyParameters("C:\\Apps\\Sales", "E:\\BackUp\\Apps\\Sales\\2024_03_05", true, true),
            R"("C:\Apps\Sales" "E:\BackUp\Apps\Sales\2024_03_05\" /C /F /D /E)");
}

TEST(DriveKindTest, TableOfDriveTypes) {
  struct Case {
    unsigned type;
    bool known;
    std::string text;
    bool freeSpace;
  };
  for (const Case& c : std::vector<Case>{
           {0, true, "不明デバイス", false},
           {1, true, "不明デバイス", false},
           {2, true, "フロッピー・ＭＯ等", false},
           {3, true, "ハードディスク", true},
           {4, true, "ネットワーク", false},
           {5, true, "ＣＤ－ＲＯＭ", false},
           {6, true, "ＲＡＭディスク", true},
           {7, false, "", false},
           {0xFFFFFFFFu, false, "", false},
       }) {
    const DriveKind k = DriveKindOf(c.type);
    EXPECT_EQ(k.known, c.known) << c.type;
    EXPECT_EQ(k.text, c.text) << c.type;
    EXPECT_EQ(k.showsFreeSpace, c.freeSpace) << c.type;
  }
  EXPECT_EQ(DriveKindOf(5).text, "\x82\x62\x82\x63\x81\x7C\x82\x71\x82\x6E\x82\x6C");  // ＣＤ－ＲＯＭ in CP932
}

TEST(FreeSpaceTextTest, WholeKilobytesWithThousandsSeparators) {
  struct Case {
    std::optional<std::uint64_t> bytes;
    std::string expected;
  };
  for (const Case& c : std::vector<Case>{
           {123456789u, "120,563 KB"},
           {0u, " KB"},
           {1023u, " KB"},
           {std::nullopt, " KB"},
           {1024u, "1 KB"},
           {999u * 1024u, "999 KB"},
           {1000u * 1024u, "1,000 KB"},
           {123456u * 1024u + 1023u, "123,456 KB"},
           {std::uint64_t{5} << 40, "5,368,709,120 KB"},
           {std::numeric_limits<std::uint64_t>::max(), "18,014,398,509,481,983 KB"},
       }) {
    EXPECT_EQ(FreeSpaceText(c.bytes), c.expected);
  }
}

}  // namespace
}  // namespace quandrel
