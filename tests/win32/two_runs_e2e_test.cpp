// Two launchers in two folders with one target: the run that took the
// snapshot first keeps it; the other is told it has none and runs on.
#include <gtest/gtest.h>

#include "driver/launcher.h"

namespace qtest {
namespace {

class TwoRunsE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }
};

TEST_F(TwoRunsE2E, TheSecondRunIsToldAndTheFirstRunsDiscardRestoresItsOwnSnapshot) {
  Sandbox data("data");
  Sandbox one("one");
  Sandbox two("two");
  const std::string db = data.Path("販売表.mdb");
  WriteBytes(db, "old\r\n");
  const std::string exeOne = one.InstallLauncher();
  const std::string exeTwo = two.InstallLauncher();
  one.WriteIni("[Execute]\nDBPath=" + db + "\n");
  two.WriteIni("[Execute]\nDBPath=" + db + "\n");
  // Each run adds "edit" to the target and ends at once.
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/append /exit"));

  Process first = Process::Start(exeOne);
  HWND mainOne = WaitMainShown(first);
  ASSERT_NE(mainOne, nullptr);
  ASSERT_EQ(ReadBytes(db + ".TMP"), std::optional<std::string>("old\r\n"));
  ASSERT_EQ(ReadBytes(db), std::optional<std::string>("old\r\nedit\r\n"));

  Process second = Process::Start(exeTwo);
  auto told = WaitMessageBox(second.Id());
  ASSERT_TRUE(told.has_value()) << "the second run was not told";
  EXPECT_EQ(told->caption, "エラー");
  EXPECT_EQ(told->text.rfind(db + " の控えを取れません\n\n" + db + ".TMP\n", 0), 0u) << told->text;
  // The platform's reason for the refused replacing move: access denied
  // (as Windows and Wine report a rename onto a file open elsewhere) or a
  // sharing violation.
  const bool reasoned = told->text.find("アクセスが拒否されました") != std::string::npos ||
                        told->text.find("別のプロセスが使用中") != std::string::npos;
  EXPECT_TRUE(reasoned) << told->text;
  Answer(*told, "OK");
  HWND mainTwo = WaitMainShown(second);
  ASSERT_NE(mainTwo, nullptr) << "the second run did not go on";
  EXPECT_EQ(ReadBytes(db), std::optional<std::string>("old\r\nedit\r\nedit\r\n"));
  EXPECT_EQ(ReadBytes(db + ".TMP"), std::optional<std::string>("old\r\n"));

  ASSERT_TRUE(PressButton(mainOne, "破棄終了(&X)"));
  auto question = WaitMessageBox(first.Id());
  ASSERT_TRUE(question.has_value());
  Answer(*question, "はい(&Y)");
  EXPECT_EQ(first.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(ReadBytes(db), std::optional<std::string>("old\r\n"));
  EXPECT_FALSE(FileExists(db + ".TMP"));

  EXPECT_EQ(CloseLauncher(second, mainTwo), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace qtest
