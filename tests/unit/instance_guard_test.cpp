#include <gtest/gtest.h>

#include "main/instance_guard.h"

namespace quandrel {
namespace {

TEST(InstanceNameTest, DerivesGuardNameFromPath) {
  struct Case {
    const char* path;
    const char* name;
  } cases[] = {
      {"D:\\DB\\LAUNCH.EXE", "D:_DB_LAUNCH.EXE"},
      {"D:\\Sales\\DB\\LAUNCH.EXE", "D:_Sales_DB_LAUNCH.EXE"},
      {"c:\\My Apps\\Menu.exe", "c:_My Apps_Menu.exe"},
      // A network path begins with a backslash and keeps all of them.
      {"\\\\server\\share\\LAUNCH.EXE", "\\\\server\\share\\LAUNCH.EXE"},
      // The search is byte-wise: the 0x5C of 表 and ソ is replaced too.
      {"D:\\表\\ソ.exe", "D:_\x95__\x83_.exe"},
      {"LAUNCH.EXE", "LAUNCH.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(InstanceName(c.path), c.name);
  }
}

TEST(InstanceNameTest, KeepsAtMost255BytesAfterEachBackslash) {
  std::string tail(300, 'x');
  EXPECT_EQ(InstanceName("D:\\" + tail), "D:_" + std::string(255, 'x'));
  // Each later backslash within the kept part restarts the count there.
  std::string path = "D:\\" + std::string(200, 'a') + "\\" + std::string(100, 'b');
  EXPECT_EQ(InstanceName(path), "D:_" + std::string(200, 'a') + "_" + std::string(54, 'b'));
}

TEST(InstanceNameTest, TheCutNeverLeavesHalfACharacter) {
  struct Case {
    const char* what;
    std::string path, name;
  } cases[] = {
      // 売 (94 84) would lose its second byte at the 255th byte: it goes whole.
      {"lead byte at the cut", "D:\\" + std::string(254, 'x') + "売.exe", "D:_" + std::string(254, 'x')},
      // 表 (95 5C) ends just at the cut: kept, and its 0x5C still counts as a
      // backslash, with nothing after it.
      {"whole character at the cut", "D:\\" + std::string(253, 'x') + "表.exe",
       "D:_" + std::string(253, 'x') + "\x95_"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(InstanceName(c.path), c.name);
  }
}

TEST(GuardPathTest, EverySpellingOfOneFileGivesOneName) {
  // What the platform resolves each spelling to, and what the guard is named.
  struct Case {
    const char* spelled;
    const char* final;
    const char* name;
  } cases[] = {
      {"D:\\G\\LAUNCH.EXE", "\\\\?\\D:\\G\\Launch.exe", "D:_G_LAUNCH.EXE"},
      {"d:\\g\\launch.exe", "\\\\?\\D:\\G\\Launch.exe", "D:_G_LAUNCH.EXE"},
      {"Q:\\LAUNCH.EXE", "\\\\?\\D:\\G\\Launch.exe", "D:_G_LAUNCH.EXE"},
      {"D:\\LONG~1\\LAUNCH~1.EXE", "\\\\?\\D:\\Long Folder\\Launcher Menu.exe",
       "D:_LONG FOLDER_LAUNCHER MENU.EXE"},
      // A network path keeps its two leading backslashes (and so all of them).
      {"S:\\LAUNCH.EXE", "\\\\?\\UNC\\server\\share\\launch.exe", "\\\\SERVER\\SHARE\\LAUNCH.EXE"},
      {"\\\\server\\share\\launch.exe", "\\\\?\\unc\\Server\\Share\\LAUNCH.EXE",
       "\\\\SERVER\\SHARE\\LAUNCH.EXE"},
      // Not resolved: the spelled path, its letter case folded.
      {"d:\\g\\launch.exe", "", "D:_G_LAUNCH.EXE"},
      // 表 (95 5C) keeps its lead byte; its trail byte is a backslash.
      {"d:\\表\\a.exe", "\\\\?\\D:\\表\\aボ.exe", "D:_\x95__Aボ.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spelled);
    EXPECT_EQ(InstanceName(GuardPath(c.spelled, c.final)), c.name);
  }
}

TEST(GuardPathTest, TrailBytesInTheLetterRangeAreNotFolded) {
  // ホ is 83 7A and Ｂ is 82 61: their trail bytes are the codes of "z"
  // and "a" and must stay as they are.
  EXPECT_EQ(GuardPath("c:\\ホＢ.exe", ""), "C:\\ホＢ.EXE");
}

TEST(InstanceGuardTest, RefusalNamesTheFullPath) {
  EXPECT_EQ(SecondStartMessage("D:\\DB\\LAUNCH.EXE"),
            "【 D:\\DB\\LAUNCH.EXE 】は\n\n既に起動しています（２重起動禁止！）\n");
}

}  // namespace
}  // namespace quandrel
