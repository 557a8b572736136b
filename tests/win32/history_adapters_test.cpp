// The file calls the history uses, and the history itself, on the real
// (Wine) platform: folders, the read-only mark, listings, appends, and
// generations and a restore on paths with 0x5C trail bytes.
#include <gtest/gtest.h>

#include <windows.h>

#include "driver/driver.h"
#include "history/generations.h"
#include "history/restore.h"
#include "history/run_log.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_system.h"

namespace quandrel::win32 {
namespace {

class HistoryAdaptersTest : public ::testing::Test {
 protected:
  qtest::Sandbox box{"history表ソ"};
  Win32Files files;
  Win32System system;
};

TEST_F(HistoryAdaptersTest, FolderReadOnlyMarkAndListing) {
  const std::string folder = box.Path("売上表.mdb の履歴");
  ASSERT_TRUE(files.MakeFolder(folder));
  EXPECT_TRUE(files.MakeFolder(folder));  // there already: fine
  const std::string file = box.Path("表.txt");
  ASSERT_TRUE(files.WriteNew(file, "12345"));
  EXPECT_FALSE(files.MakeFolder(file));   // a file of that name is no folder

  ASSERT_TRUE(files.SetReadOnly(file, true));
  EXPECT_EQ(files.Remove(file).error, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  // (Windows also refuses a replacing move onto it; Wine lets it happen, so
  // the history never moves anything onto a generation.)
  const std::vector<FileEntry> one = files.FindEntries(file);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].name, "表.txt");
  EXPECT_EQ(one[0].size, 5u);
  EXPECT_TRUE(one[0].readOnly);
  EXPECT_FALSE(one[0].folder);
  EXPECT_NE(one[0].lastWrite, 0u);
  // A read-only file can still be renamed (how a generation is put back).
  ASSERT_TRUE(files.Move(file, folder + "\\表.txt"));
  ASSERT_TRUE(files.SetReadOnly(folder + "\\表.txt", false));
  EXPECT_TRUE(files.Remove(folder + "\\表.txt"));
  EXPECT_TRUE(files.FindEntries(box.Path("none*")).empty());
}

TEST_F(HistoryAdaptersTest, AppendAddsWholeLinesAndWaitsForAnExclusiveHolder) {
  const std::string log = box.Path("Quandrel.LOG");
  ASSERT_TRUE(files.Append(log, "one\r\n"));
  ASSERT_TRUE(files.Append(log, "two\r\n"));
  EXPECT_EQ(qtest::ReadBytes(log), std::string("one\r\ntwo\r\n"));
  // Another appender at the same time: both lines land.
  HANDLE other = ::CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(files.Append(log, "three\r\n"));
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(other, "four\r\n", 6, &written, nullptr));
  ::CloseHandle(other);
  EXPECT_EQ(qtest::ReadBytes(log), std::string("one\r\ntwo\r\nthree\r\nfour\r\n"));
  // Held without sharing: refused after the retries, the file unchanged.
  HANDLE exclusive = ::CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.Append(log, "five\r\n").error, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
  ::CloseHandle(exclusive);
  EXPECT_EQ(qtest::ReadBytes(log), std::string("one\r\ntwo\r\nthree\r\nfour\r\n"));
}

TEST_F(HistoryAdaptersTest, TimeStampComputerAndUser) {
  const std::string stamp = system.FileTimeStamp();
  ASSERT_EQ(stamp.size(), 15u) << stamp;
  EXPECT_EQ(stamp[8], '-');
  EXPECT_FALSE(system.ComputerName().empty());
  EXPECT_FALSE(system.UserName().empty());
}

// A file's last write in the same local time as the clock's stamp: the
// history window dates the backup copy with it.
TEST_F(HistoryAdaptersTest, LastWriteAsALocalStamp) {
  const std::string file = box.Path("表.BAK");
  const std::string before = system.FileTimeStamp();
  ASSERT_TRUE(files.WriteNew(file, "x"));
  const std::string after = system.FileTimeStamp();
  const std::vector<FileEntry> found = files.FindEntries(file);
  ASSERT_EQ(found.size(), 1u);
  const std::string written = system.FileTimeStampOf(found[0].lastWrite);
  EXPECT_GE(written, before);
  EXPECT_LE(written, after);
  // A count past any date the platform can convert gives nothing.
  EXPECT_EQ(system.FileTimeStampOf(~0ull), "");
}

TEST_F(HistoryAdaptersTest, GenerationsAndARestoreOnTrailBytePaths) {
  const std::string target = box.Path("ソフト表.mdb");
  ASSERT_TRUE(files.WriteNew(target, "monday"));
  ASSERT_TRUE(files.WriteNew(target + ".BAK", "sunday"));
  const history::Kept kept = history::Keep(files, system, target, target + ".BAK", history::Reason::SaveAndExit);
  ASSERT_TRUE(kept.result) << kept.result.error;
  EXPECT_TRUE(kept.moved);
  EXPECT_TRUE(kept.markedReadOnly);
  EXPECT_EQ(::GetFileAttributesA(kept.generation.c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(history::List(files, target).size(), 1u);

  history::RunLog log(files, system, box.Path("Quandrel.INI"), true);
  const history::RestoreOutcome out =
      history::Restore(files, system, log, {target, kept.generation, "sunday", 5}, nullptr, nullptr, nullptr);
  ASSERT_TRUE(out.restored) << (out.errors.empty() ? "" : out.errors[0]);
  EXPECT_EQ(qtest::ReadBytes(target), std::string("sunday"));
  EXPECT_EQ(::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(qtest::ReadBytes(out.keptAs), std::string("monday"));
  EXPECT_FALSE(files.FileExists(target + ".part"));

  // Open elsewhere (no sharing of deletion): refused, nothing changed.
  HANDLE open = ::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  const history::RestoreOutcome refused =
      history::Restore(files, system, log, {target, out.keptAs, "monday", 5}, nullptr, nullptr, nullptr);
  ::CloseHandle(open);
  EXPECT_FALSE(refused.restored);
  EXPECT_EQ(refused.errors.size(), 1u);
  EXPECT_EQ(qtest::ReadBytes(target), std::string("sunday"));
  EXPECT_FALSE(files.FileExists(target + ".part"));
  EXPECT_EQ(history::List(files, target).size(), 2u);
}

}  // namespace
}  // namespace quandrel::win32
