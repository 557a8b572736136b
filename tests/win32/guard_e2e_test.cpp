// The single-instance guard, end to end: the real Quandrel.exe under Wine.
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "text/sjis.h"

namespace qtest {
namespace {

const char kRefusalTail[] = " 】は\n\n既に起動しています（２重起動禁止！）\n";

// Waits until the launcher shows its main window (in end mode: with no
// target there is nothing to launch).
HWND WaitMainWindow(const Process& p) {
  HWND main = FindTopWindow(p.Id(), "TFormMain");
  EXPECT_TRUE(WaitUntil([&] { return IsShown(main); })) << "no main window shown";
  return main;
}

// A box of the process, if one is up right now.
std::optional<MessageBoxInfo> BoxNow(const Process& p) { return WaitMessageBox(p.Id(), 0); }

void CloseLauncher(Process& p, HWND main) {
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  auto code = p.WaitExit();
  ASSERT_TRUE(code.has_value()) << "the launcher did not end";
  EXPECT_EQ(*code, 0u);
}

TEST(GuardE2E, SecondStartOfTheSamePathIsRefusedAndTheFirstRunsOn) {
  Sandbox box("guard");
  std::string exe = box.InstallLauncher();
  Process first = Process::Start(exe);
  ASSERT_TRUE(AnswerNoTargetBox(first));
  HWND main = WaitMainWindow(first);
  ASSERT_TRUE(IsShown(main));

  Process second = Process::Start(exe);
  auto refusal = WaitMessageBox(second.Id());
  ASSERT_TRUE(refusal.has_value()) << "no refusal box";
  EXPECT_EQ(refusal->caption, "エラー");
  EXPECT_EQ(refusal->text, "【 " + exe + kRefusalTail);
  EXPECT_EQ(refusal->buttons, std::vector<std::string>{"OK"});
  // The refused start shows no window of its own.
  EXPECT_EQ(FindTopWindow(second.Id(), "TFormMain", 0), nullptr);
  ASSERT_TRUE(Answer(*refusal, "OK"));
  auto code = second.WaitExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);

  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(IsShown(main));
  CloseLauncher(first, main);
}

TEST(GuardE2E, CopiesInTwoFoldersBothRun) {
  Sandbox one("one");
  Sandbox two("two");
  Process a = Process::Start(one.InstallLauncher());
  Process b = Process::Start(two.InstallLauncher());
  ASSERT_TRUE(AnswerNoTargetBox(a));
  ASSERT_TRUE(AnswerNoTargetBox(b));
  HWND mainA = WaitMainWindow(a);
  HWND mainB = WaitMainWindow(b);
  EXPECT_TRUE(IsShown(mainA));
  EXPECT_TRUE(IsShown(mainB));
  ASSERT_TRUE(Settle(mainB));
  EXPECT_FALSE(BoxNow(b).has_value());
  CloseLauncher(a, mainA);
  CloseLauncher(b, mainB);
}

TEST(GuardE2E, PathWithTrailByteBackslashesIsGuarded) {
  Sandbox box("表ソ能");
  std::string exe = box.InstallLauncher("販売表.exe");
  Process first = Process::Start(exe);
  ASSERT_TRUE(AnswerNoTargetBox(first));
  HWND main = WaitMainWindow(first);
  Process second = Process::Start(exe);
  auto refusal = WaitMessageBox(second.Id());
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->text, "【 " + exe + kRefusalTail);
  ASSERT_TRUE(Answer(*refusal, "OK"));
  EXPECT_EQ(second.WaitExit(), std::optional<DWORD>(0));
  CloseLauncher(first, main);
}

TEST(GuardE2E, TenSimultaneousStartsLeaveExactlyOneRunning) {
  Sandbox box("race");
  std::string exe = box.InstallLauncher();
  std::vector<Process> starts;
  for (int i = 0; i < 10; ++i) starts.push_back(Process::Start(exe));

  // Every start but one shows the refusal and ends with 0 once answered;
  // the one that runs says that it has no target, then shows its main window.
  int refused = 0;
  std::vector<Process*> running;
  for (Process& p : starts) {
    std::optional<MessageBoxInfo> box;
    ASSERT_TRUE(WaitUntil([&] {
      box = BoxNow(p);
      return box.has_value() || IsShown(FindTopWindow(p.Id(), "TFormMain", 0));
    })) << "a start showed neither a box nor its main window";
    if (box && IsNoTargetBox(*box)) {
      ASSERT_TRUE(Answer(*box, "OK"));
      running.push_back(&p);
    } else if (box) {
      EXPECT_EQ(box->caption, "エラー");
      ASSERT_TRUE(Answer(*box, "OK"));
      EXPECT_EQ(p.WaitExit(), std::optional<DWORD>(0));
      ++refused;
    } else {
      running.push_back(&p);
    }
  }
  EXPECT_EQ(refused, 9);
  ASSERT_EQ(running.size(), 1u);
  HWND main = WaitMainWindow(*running[0]);
  ASSERT_TRUE(IsShown(main));
  CloseLauncher(*running[0], main);
}

// One executable file, three spellings of its path: upper case, lower case
// and another drive letter that leads to the same folder. One runs; the two
// others are refused, each naming the path as it was spelled.
TEST(GuardE2E, EverySpellingOfTheSamePathMeetsOneGuard) {
  Sandbox box("spelling");
  const std::string exe = box.InstallLauncher();
  MappedDrive drive(box.Dir());
  ASSERT_NE(drive.Letter(), 0) << "no drive letter could be mapped";
  std::string lower = exe;
  for (char& c : lower) {  // the sandbox path is ASCII
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  const std::string spellings[] = {quandrel::text::UpperAsciiBytes(exe), lower,
                                   std::string(1, drive.Letter()) + ":\\Quandrel.exe"};

  Process first = Process::Start(spellings[0]);
  ASSERT_TRUE(AnswerNoTargetBox(first));
  HWND main = WaitMainWindow(first);
  ASSERT_TRUE(IsShown(main));
  for (int i = 1; i < 3; ++i) {
    SCOPED_TRACE(spellings[i]);
    Process other = Process::Start(spellings[i]);
    auto refusal = WaitMessageBox(other.Id());
    ASSERT_TRUE(refusal.has_value()) << "started a second time";
    EXPECT_EQ(refusal->caption, "エラー");
    // The path as this start spelled it; Wine reports the file name part
    // as it is on disk, so that part is compared without letter case.
    const std::string folder = quandrel::text::FolderPart(spellings[i]);
    EXPECT_EQ(refusal->text.substr(0, folder.size() + 4), "【 " + folder + "\\") << refusal->text;
    EXPECT_EQ(quandrel::text::UpperAsciiBytes(refusal->text),
              quandrel::text::UpperAsciiBytes("【 " + spellings[i] + kRefusalTail));
    ASSERT_TRUE(Answer(*refusal, "OK"));
    EXPECT_EQ(other.WaitExit(), std::optional<DWORD>(0));
  }
  EXPECT_TRUE(first.Running());
  CloseLauncher(first, main);
}

}  // namespace
}  // namespace qtest
