// The main window takes History from the settings file and hands it to
// every action that replaces a state of the database, and the record of
// runs gets the steps of the run; an unreadable value keeps no history.
#include <gtest/gtest.h>

#include <string>

#include "history/generations.h"
#include "launch/maintenance.h"
#include "main_window_fixture.h"

namespace quandrel::testing {
namespace {

const char kLog[] = "D:\\Work\\Quandrel.LOG";
const char kSales[] = "D:\\Work\\sales.mdb";

class MainWindowHistoryTest : public FormMainTest {
 protected:
  void SetUp() override {
    system.computerName = "PC-KEIRI";
    system.userName = "suzuki";
    files.Put(std::string(kSales) + ".BAK", "older");
    registry.SetKey(Hive::LocalMachine, kAccessAppPathKey, "C:\\Office\\MSACCESS.EXE");
  }
  std::string Log() const { return files.Get(kLog).value_or(""); }
};

TEST_F(MainWindowHistoryTest, TheSettingReachesTheSaveAndEveryStepIsRecorded) {
  CreateWithSales("History=10\r\n");
  form->CompactDatabase();
  form->SaveAndExit();

  const std::vector<history::Generation> kept = history::List(files, kSales);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(files.Get(kept[0].path), "older");
  EXPECT_EQ(files.Get(std::string(kSales) + ".BAK"), "old");
  const std::string log = Log();
  for (const std::string& line :
       {std::string("\tPC-KEIRI\tsuzuki\t起動前の控え\t") + kSales + "\t" + kSales + ".TMP\t成功\r\n",
        std::string("\tPC-KEIRI\tsuzuki\t最適化\t") + kSales + "\t" + kSales + "\t成功\r\n",
        std::string("\tPC-KEIRI\tsuzuki\t保存終了\t") + kSales + ".BAK\t" + kept[0].path + "\t成功\r\n",
        std::string("\tPC-KEIRI\tsuzuki\t保存終了\t") + kSales + ".TMP\t" + kSales + ".BAK\t成功\r\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << "\nnot in\n" << log;
  }
}

TEST_F(MainWindowHistoryTest, AnUnreadableValueKeepsNoHistoryAndNoRecord) {
  for (const char* value : {"", "abc", "-3", "１０"}) {
    files = fakes::FakeFiles();
    files.AddFolder("D:\\Work");
    SetUp();
    CreateWithSales(std::string("History=") + value + "\r\n");
    form->CompactDatabase();
    form->SaveAndExit();
    EXPECT_TRUE(history::List(files, kSales).empty()) << value;
    EXPECT_FALSE(files.HasFolder(history::FolderFor(kSales))) << value;
    EXPECT_FALSE(files.Has(kLog)) << value;
    EXPECT_EQ(files.Get(std::string(kSales) + ".BAK"), "old") << value;
  }
}

}  // namespace
}  // namespace quandrel::testing
