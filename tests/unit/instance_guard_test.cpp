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

TEST(InstanceGuardTest, RefusalNamesTheFullPath) {
  EXPECT_EQ(SecondStartMessage("D:\\DB\\LAUNCH.EXE"),
            "【 D:\\DB\\LAUNCH.EXE 】は\n\n既に起動しています（２重起動禁止！）\n");
}

}  // namespace
}  // namespace quandrel
