// Which controls the main window shows in end mode and in settings mode, for
// the settings that decide it.
#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "main_window/layout_modes.h"
#include "main_window_fixture.h"

namespace quandrel::testing {
namespace {

using C = Control;

// The buttons whose visibility changes between modes.
std::vector<C> ModeButtons() {
  std::vector<C> all(std::begin(kMainEndModeButtons), std::end(kMainEndModeButtons));
  all.insert(all.end(), std::begin(kMainLeaveSettingsButtons), std::end(kMainLeaveSettingsButtons));
  all.insert(all.end(), std::begin(kMainBrowseButtons), std::end(kMainBrowseButtons));
  return all;
}
// Shown in every mode.
const C kAlwaysShown[] = {C::BevelImageTitle, C::ImageTitle,    C::PanelDBpath, C::LabelDBPath,
                          C::LabelRequired,   C::PanelImageEtc, C::LabelImagePath, C::LabelTitle,
                          C::LabelIconPath,   C::EditDate,      C::EditDBpath,  C::EditTitle};

std::set<C> VisibleModeButtons(const fakes::FakeMainView& view) {
  std::set<C> shown;
  for (C c : ModeButtons())
    if (view.IsVisible(c)) shown.insert(c);
  return shown;
}

const std::set<C> kCommonEnd = {C::BitBtnBackup, C::BitBtnCustom};
std::set<C> With(std::set<C> a, std::initializer_list<C> more) {
  a.insert(more);
  return a;
}

struct ModeCase {
  const char* name;
  std::string sales;  // content of D:\Work\sales.mdb; empty: no such file
  std::string ini;    // empty: no settings file
  std::set<C> endButtons;
  std::optional<int> endHeight;
  bool nonCustom, mdbBak, unClose;  // ticks
  std::string caption;
};

// A failing case is named by its name, not by the struct's bytes.
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class ModeTable : public FormMainTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeTable, EndModeAfterCreationThenSettingsMode) {
  const ModeCase& m = GetParam();
  if (!m.sales.empty()) files.Put("D:\\Work\\sales.mdb", m.sales);
  files.Put("D:\\Work\\tool.exe", "MZ");
  if (!m.ini.empty()) Ini(m.ini);
  Create();

  EXPECT_EQ(VisibleModeButtons(view), m.endButtons);
  EXPECT_EQ(view.outerHeight, m.endHeight);
  EXPECT_EQ(view.displayTitle, m.caption);
  for (C c : kMainTextFields) EXPECT_TRUE(view.IsReadOnly(c));
  for (C c : kMainSwitches) EXPECT_FALSE(view.IsEnabled(c));
  EXPECT_EQ(view.Ticked(C::CboxNonCustom), m.nonCustom);
  EXPECT_EQ(view.Ticked(C::CboxMDBbak), m.mdbBak);
  EXPECT_EQ(view.Ticked(C::CboxUnClose), m.unClose);
  for (C c : kAlwaysShown) EXPECT_TRUE(view.IsVisible(c));
  EXPECT_FALSE(view.IsVisible(C::ListBoxFontName));

  form->EnterSettingsMode();
  EXPECT_EQ(VisibleModeButtons(view),
            (std::set<C>{C::BitBtnOK, C::BitBtnClose, C::BitBtnDBpath, C::BitBtnImage, C::BitBtnIcon}));
  for (C c : kMainTextFields) EXPECT_FALSE(view.IsReadOnly(c));
  for (C c : kMainSwitches) EXPECT_TRUE(view.IsEnabled(c));
  EXPECT_EQ(view.outerHeight, m.endHeight);  // settings mode keeps the height
  for (C c : kAlwaysShown) EXPECT_TRUE(view.IsVisible(c));
  EXPECT_EQ(view.Ticked(C::CboxMDBbak), m.mdbBak);  // ticks stay
}

const std::set<C> kPlain = With(kCommonEnd, {C::BitBtnRestart, C::BitBtnExit});
const std::set<C> kMaintenance = {C::BitBtnAcRepair, C::BitBtnAcCompact};
const std::set<C> kSave = With(With(kCommonEnd, {C::BitBtnAcQuit, C::BitBtnAcSave, C::BitBtnAcExit}),
                               {C::BitBtnAcRepair, C::BitBtnAcCompact});

INSTANTIATE_TEST_SUITE_P(
    Cases, ModeTable,
    ::testing::Values(
        ModeCase{"NoSettingsFile", "", "", kPlain, std::nullopt, false, true, true,
                 "Quandrel (D:\\Work\\Quandrel.exe)"},
        ModeCase{"SalesMdb", "data", "[Execute]\r\nDBPath=sales.mdb\r\n", kSave, std::nullopt, false, true,
                 true, "sales.mdb の実行環境"},
        ModeCase{"SalesMdbNeverSnapshot", "data", "[Execute]\r\nDBPath=sales.mdb\r\n[System]\r\nMDBbak=Never\r\n",
                 With(kPlain, {C::BitBtnAcRepair, C::BitBtnAcCompact}), std::nullopt, false, false, true,
                 "sales.mdb の実行環境"},
        // Only exactly "Never" turns the snapshot off; the box shows only "Use".
        ModeCase{"LowerCaseNever", "data", "[Execute]\r\nDBPath=sales.mdb\r\n[System]\r\nMDBbak=never\r\n", kSave,
                 std::nullopt, false, false, true, "sales.mdb の実行環境"},
        // A missing target of the database kind still counts as one.
        ModeCase{"MissingMdb", "", "[Execute]\r\nDBPath=gone.MDB\r\n", kSave, std::nullopt, false, true, true,
                 "Quandrel (D:\\Work\\Quandrel.exe)"},
        // The current Access format counts the same.
        ModeCase{"MissingAccdb", "", "[Execute]\r\nDBPath=gone.AccDb\r\n", kSave, std::nullopt, false, true, true,
                 "Quandrel (D:\\Work\\Quandrel.exe)"},
        ModeCase{"ProgramFile", "", "[Execute]\r\nDBPath=tool.exe\r\n", kPlain, std::nullopt, false, true, true,
                 "tool.exe の実行環境"},
        ModeCase{"Compact", "data",
                 "[Execute]\r\nDBPath=sales.mdb\r\n[System]\r\nTitle=販売管理\r\nCustomize=Disable\r\nUnClose=\r\n",
                 kSave, 220, true, true, false, "販売管理"},
        ModeCase{"LowerCaseDisableIsNotCompact", "", "[System]\r\nCustomize=disable\r\n", kPlain, std::nullopt,
                 false, true, true, "Quandrel (D:\\Work\\Quandrel.exe)"}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST_F(FormMainTest, DiscardShrinksACompactWindowTo200) {
  CreateWithSales("Customize=Disable\r\n");
  ASSERT_EQ(view.outerHeight, std::optional<int>(220));
  form->EnterSettingsMode();
  form->DiscardSettingsEdits();
  EXPECT_EQ(view.outerHeight, std::optional<int>(200));
  EXPECT_EQ(VisibleModeButtons(view), kSave);
}

TEST_F(FormMainTest, DiscardOfAFullWindowKeepsItsHeight) {
  CreateWithSales();
  form->EnterSettingsMode();
  form->DiscardSettingsEdits();
  EXPECT_EQ(view.outerHeight, std::nullopt);
  EXPECT_EQ(VisibleModeButtons(view), kSave);
}

// The history button: shown while History keeps generations or some are
// there from before (History lowered to 0 since), and hidden again by
// settings mode.
struct HistoryButtonCase {
  const char* name;
  const char* system;      // lines of [System]
  const char* generation;  // a file put beside the database, or none
  const char* folder;      // a folder put beside it, or none
  bool shown;
};
void PrintTo(const HistoryButtonCase& c, std::ostream* os) { *os << c.name; }

class HistoryButtonTable : public FormMainTest, public ::testing::WithParamInterface<HistoryButtonCase> {};

TEST_P(HistoryButtonTable, ShownInEndModeOnly) {
  const HistoryButtonCase& c = GetParam();
  if (c.generation) files.Put(c.generation, "old");
  if (c.folder) files.AddFolder(c.folder);
  CreateWithSales(c.system);
  EXPECT_EQ(view.IsVisible(C::BitBtnHistory), c.shown);
  form->EnterSettingsMode();
  EXPECT_FALSE(view.IsVisible(C::BitBtnHistory));
  form->DiscardSettingsEdits();
  EXPECT_EQ(view.IsVisible(C::BitBtnHistory), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryButtonTable,
    ::testing::Values(
        HistoryButtonCase{"Off", "", nullptr, nullptr, false},
        HistoryButtonCase{"On", "History=10\r\n", nullptr, nullptr, true},
        HistoryButtonCase{"NotANumber", "History=ten\r\n", nullptr, nullptr, false},
        HistoryButtonCase{"OffWithAGeneration", "History=0\r\n",
                          "D:\\Work\\sales.mdb の履歴\\20261210-093005 保存終了.mdb", nullptr, true},
        HistoryButtonCase{"OffWithTheFolderOnly", "", nullptr, "D:\\Work\\sales.mdb の履歴", true},
        HistoryButtonCase{"OffWithALookAlikeFolder", "", nullptr, "D:\\Work\\sales.mdb の履歴x", false}),
    [](const ::testing::TestParamInfo<HistoryButtonCase>& info) { return std::string(info.param.name); });

TEST_F(FormMainTest, HistoryButtonOpensTheHistoryWindow) {
  CreateWithSales("History=3\r\n");
  EXPECT_EQ(form->HistoryKeep(), 3);
  form->ControlUsed(C::BitBtnHistory);
  EXPECT_EQ(view.historyWindowsOpened, 1);
}

// A button of end mode that no rule of end mode shows could never be pressed.
TEST(EndModeLayout, ShowsEveryEndModeButtonForSomeTarget) {
  std::set<C> shown;
  for (const char* target : {"sales.mdb", "tool.exe"}) {
    for (Word mdbBak : {Word::Use, Word::Never}) {
      MainSettings s;
      s.DBPath = target;
      s.MDBbak = mdbBak;
      for (bool history : {false, true}) {
        for (const LayoutStep& step : EndModeLayout(s, kCompactHeight, history).steps)
          if (step.aspect == Aspect::Visible && step.value) shown.insert(step.control);
      }
    }
  }
  for (C c : kMainEndModeButtons) EXPECT_EQ(shown.count(c), 1u) << static_cast<int>(c);
}

// The end mode's maintenance buttons are shown for a database target and
// otherwise left alone, so they stay as the previous mode left them.
TEST(EndModeLayout, LeavesMaintenanceButtonsAloneForOtherTargets) {
  MainSettings exe;
  exe.DBPath = "tool.exe";
  for (const LayoutStep& s : EndModeLayout(exe, kCompactHeight, false).steps) {
    EXPECT_NE(s.control, C::BitBtnAcRepair);
    EXPECT_NE(s.control, C::BitBtnAcCompact);
  }
}

}  // namespace
}  // namespace quandrel::testing
