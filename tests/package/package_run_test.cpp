// The programs as the zip ships them, each started under Wine on a small
// database: snapshot, start of the registered program, save & exit. Run by
// tools/check-package.sh, which puts on the session's sandbox drive
//   QUANDREL_PACKAGE_WINDIR  the unpacked Quandrel-<version> folder
//   QUANDREL_STANDIN_DB      the stand-in database program
// so that no path here depends on where the project is checked out, and sets
// QUANDREL_RUNS_32BIT to 1 where this machine can start 32-bit programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "driver/launcher.h"

namespace qtest {
namespace {

std::string Environment(const char* name) {
  char value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// The machine a PE file is built for (its file header's first field), 0 when
// the bytes are no PE file.
WORD PeMachine(const std::string& bytes) {
  if (bytes.size() < 0x40 || bytes.compare(0, 2, "MZ") != 0) return 0;
  DWORD at = 0;
  std::memcpy(&at, bytes.data() + 0x3C, sizeof at);
  if (at > bytes.size() - 6 || bytes.compare(at, 4, std::string("PE\0\0", 4)) != 0) return 0;
  WORD machine = 0;
  std::memcpy(&machine, bytes.data() + at + 4, sizeof machine);
  return machine;
}

struct ShippedBuild {
  const char* name;
  const char* path;  // in the package folder
  WORD machine;
};

class PackageRunTest : public ::testing::TestWithParam<ShippedBuild> {
 protected:
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelPackage.Mdb");
  }
  Process launcher_;
};

TEST_P(PackageRunTest, SnapshotStartOfTheProgramAndSaveAndExit) {
  const ShippedBuild& build = GetParam();
  if (build.machine == IMAGE_FILE_MACHINE_I386 && Environment("QUANDREL_RUNS_32BIT") != "1") {
    GTEST_SKIP() << "this machine runs no 32-bit programs: " << build.path << " is checked, not started";
  }
  const std::string package = Environment("QUANDREL_PACKAGE_WINDIR");
  const std::string standIn = Environment("QUANDREL_STANDIN_DB");
  ASSERT_FALSE(package.empty()) << "QUANDREL_PACKAGE_WINDIR is not set: run tools/check-package.sh";
  ASSERT_FALSE(standIn.empty()) << "QUANDREL_STANDIN_DB is not set: run tools/check-package.sh";
  const auto shipped = ReadBytes(package + "\\" + build.path);
  ASSERT_TRUE(shipped.has_value()) << package << "\\" << build.path;
  ASSERT_EQ(PeMachine(*shipped), build.machine) << build.path << " is not the " << build.name << " program";

  // Installed as the guide says: the program and the sample settings beside
  // the database, the settings naming it.
  Sandbox box(std::string(build.name) + " 販売管理");
  const std::string exe = box.Path("Quandrel.exe");
  const std::string ini = box.Path("Quandrel.INI");
  const std::string db = box.Path("売上表.mdb");
  CopyInto(package + "\\" + build.path, exe);
  ASSERT_EQ(ReadBytes(exe), shipped);
  CopyInto(package + "\\Quandrel.INI", ini);
  ASSERT_TRUE(::WritePrivateProfileStringA("Execute", "DBPath", "売上表.mdb", ini.c_str()));
  WriteBytes(db, "old\r\n");
  RegisterExtension(".mdb", "QuandrelPackage.Mdb", "\"" + standIn + "\" /append \"%1\"");

  launcher_ = Process::Start(exe);
  ASSERT_NE(WaitStandIn(), nullptr) << "the registered program was not started";
  EXPECT_EQ(ReadBytes(db + ".TMP"), std::string("old\r\n")) << "no snapshot before the start";
  EXPECT_EQ(ReadBytes(db + ".cmdline"), "\"" + standIn + "\" /append \"" + db + "\"\r\n");
  ASSERT_TRUE(CloseStandIns());

  HWND main = WaitMainShown(launcher_);
  ASSERT_NE(main, nullptr) << "no end mode after the program ended";
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(ReadBytes(db), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(ReadBytes(db + ".BAK"), std::string("old\r\n"));
  EXPECT_FALSE(FileExists(db + ".TMP"));
}

INSTANTIATE_TEST_SUITE_P(Zip, PackageRunTest,
                         ::testing::Values(ShippedBuild{"x86_64", "Quandrel.exe", IMAGE_FILE_MACHINE_AMD64},
                                           ShippedBuild{"i686", "32bit\\Quandrel.exe", IMAGE_FILE_MACHINE_I386}),
                         [](const ::testing::TestParamInfo<ShippedBuild>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qtest
