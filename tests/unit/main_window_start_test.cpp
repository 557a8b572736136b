// The main window's creation: its set-up, then the first launch cycle.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "main_window_fixture.h"

namespace quandrel::testing {
namespace {

using C = Control;
using ::testing::ElementsAre;

TEST_F(FormMainTest, CreationSetsUpTheWindowThenRunsTheTargetWithASnapshotFirst) {
  system.fonts = {"ＭＳ ゴシック", "TicagoFix"};
  CreateWithSales("Title=D:\\Apps\\販売管理\r\n");
  EXPECT_EQ(files.CurrentDirectory(), "D:\\Work");
  EXPECT_EQ(view.fieldFontFace, "TicagoFix");
  ASSERT_EQ(form->DriveNames().size(), 26u);
  EXPECT_EQ(form->DriveNames().front(), "A:");
  EXPECT_EQ(form->DriveNames().back(), "Z:");
  EXPECT_EQ(form->SettingsPath(), kIni);

  // The relative target is made absolute before anything uses it.
  EXPECT_EQ(Text(C::EditDBpath), "D:\\Work\\sales.mdb");
  EXPECT_EQ(Text(C::EditTitle), "D:\\Apps\\販売管理");
  EXPECT_EQ(Text(C::EditDate), "2026/12/10");

  EXPECT_THAT(view.calls,
              ElementsAre("title D:\\Apps\\販売管理",
                          // only the tray icon stands for the launcher now
                          "tray+ 【販売管理】稼働中...", "main hide", "app hide",
                          "wait+", "wait-",
                          "start " + std::string(kAccess) + " \"D:\\Work\\sales.mdb\"",
                          "tray-", "main show", "app show", "front"));
  ASSERT_EQ(processes.started.size(), 1u);
  EXPECT_EQ(processes.started[0].shape, StartupShape::Maximized);
  EXPECT_EQ(processes.released, 1);
  // The snapshot holds the data from before the run; the run changed the target.
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb.TMP"), std::optional<std::string>("old"));
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb"), std::optional<std::string>("new"));
  EXPECT_TRUE(form->Snapshot().Of("D:\\Work\\sales.mdb"));
  EXPECT_TRUE(Boxes().empty());
}

// The controls are made during the run, long after the values were set:
// the logic shows them again then.
TEST_F(FormMainTest, ControlsMadeLaterAreShownTheFieldsValues) {
  CreateWithSales("Title=販売\r\nUnClose=Never\r\n");
  for (C c : kMainTextFields) view.SetText(c, "");
  view.SetText(C::EditDate, "");
  for (C c : kMainSwitches) view.SetChecked(c, false);
  form->ControlsMade();
  EXPECT_EQ(Text(C::EditDBpath), "D:\\Work\\sales.mdb");
  EXPECT_EQ(Text(C::EditTitle), "販売");
  EXPECT_EQ(Text(C::EditDate), "2026/12/10");
  EXPECT_TRUE(view.Ticked(C::CboxMDBbak));
  EXPECT_FALSE(view.Ticked(C::CboxUnClose));
}

TEST_F(FormMainTest, WorkingDirectoryOfAnExecutableAtADriveRootKeepsItsBackslash) {
  system.executablePath = "E:\\Quandrel.exe";
  Create();
  EXPECT_EQ(files.CurrentDirectory(), "E:\\");
  EXPECT_EQ(form->SettingsPath(), "E:\\Quandrel.INI");
}

TEST_F(FormMainTest, FontCheckIsExact) {
  system.fonts = {"ticagofix", "TicagoFix Bold"};
  Create();
  EXPECT_EQ(view.fieldFontFace, "ＭＳ ゴシック");
}

TEST_F(FormMainTest, LookupMessagesComeAfterTheTrayEntryAndBeforeTheStart) {
  files.Put("D:\\Work\\notes.xyz", "x");
  Ini("[Execute]\r\nDBPath=notes.xyz\r\n");
  Create();
  EXPECT_THAT(view.calls,
              ElementsAre("title notes.xyz の実行環境", "tray+ 【】稼働中...", "main hide", "app hide",
                          "message: 拡張子 \".xyz\" のレジストリ内容を読み込めません",
                          "message: \"\" の関連付けを認識できません",
                          // no launch command: a blank and the quoted target
                          "start  \"D:\\Work\\notes.xyz\"", "tray-", "main show", "app show", "front"));
}

TEST_F(FormMainTest, ProgramFileIsStartedByItsQuotedPathAndTakesNoSnapshot) {
  files.Put("D:\\Work\\tool.exe", "MZ");
  Ini("[Execute]\r\nDBPath=tool.exe\r\n");
  Create();
  ASSERT_EQ(processes.started.size(), 1u);
  EXPECT_EQ(processes.started[0].commandLine, "\"D:\\Work\\tool.exe\"");
  EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "wait+"), 0);
  EXPECT_FALSE(form->Snapshot().taken);
}

TEST_F(FormMainTest, NeverSnapshotStartsWithoutCopying) {
  CreateWithSales("MDBbak=Never\r\n");
  EXPECT_FALSE(files.Has("D:\\Work\\sales.mdb.TMP"));
  EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "wait+"), 0);
  EXPECT_EQ(processes.started.size(), 1u);
}

TEST_F(FormMainTest, EmptyTargetStartsNothingAndSaysThatNoFileIsSet) {
  Ini("[System]\r\nTitle=Sales\r\n");
  Create();
  EXPECT_TRUE(processes.started.empty());
  EXPECT_TRUE(registry.opened.empty());
  EXPECT_THAT(view.calls, ElementsAre("title Sales", "tray+ 【Sales】稼働中...", "main hide", "app hide",
                                      "message: 開くファイルが設定されていません\n\n設定変更の「最初に開くファイル名の指定」か、"
                                      "設定ファイル D:\\Work\\Quandrel.INI の DBPath に開くファイルを書いてください。",
                                      "tray-", "main show", "app show", "front"));
}

TEST_F(FormMainTest, AStartThatFailsSaysWhatAndWhyThenComesToEndMode) {
  files.Put("D:\\Work\\sales.mdb", "old");
  Ini("[Execute]\r\nDBPath=sales.mdb\r\n");
  processes.failStartsWith = os_error::kFileNotFound;  // the registered program is not there
  Create();
  EXPECT_THAT(view.calls,
              ElementsAre("title sales.mdb の実行環境", "tray+ 【】稼働中...", "main hide", "app hide", "wait+",
                          "wait-", "start " + std::string(kAccess) + " \"D:\\Work\\sales.mdb\"",
                          "error: プログラムを起動できません\n\n" + std::string(kAccess) +
                              " \"D:\\Work\\sales.mdb\"\n\n指定されたファイルが見つかりません。",
                          "tray-", "main show", "app show", "front"));
  EXPECT_EQ(processes.waits, 0);  // nothing to watch
  EXPECT_TRUE(form->Snapshot().Of("D:\\Work\\sales.mdb"));  // the snapshot stays this run's
}

TEST_F(FormMainTest, CloseLockFollowsTheUnCloseSetting) {
  processes.runFor = {2};
  desktop.windows = {{77, 3001}, {78, 9999}};  // 3001: the first start's primary thread
  CreateWithSales();
  EXPECT_THAT(desktop.closeDisabled, ElementsAre(77u, 77u));
}

TEST_F(FormMainTest, CloseLockOffWhenUnCloseIsNotExactlyUse) {
  processes.runFor = {2};
  desktop.windows = {{77, 3001}};
  CreateWithSales("UnClose=use\r\n");
  EXPECT_TRUE(desktop.closeDisabled.empty());
}

TEST_F(FormMainTest, FailedSnapshotIsReportedBeforeTheStartAndLeavesTheRunWithoutOne) {
  // A snapshot left by an earlier run must not pass for this run's.
  files.Put("D:\\Work\\sales.mdb.TMP", "earlier run");
  files.MakeFolderReadOnly("D:\\Work");
  CreateWithSales();

  const std::string error =
      "error: D:\\Work\\sales.mdb の控えを取れません\n\nアクセスが拒否されました。\n\n"
      "このまま開きますが、次の破棄終了では元に戻せません。";
  auto at = std::find(view.calls.begin(), view.calls.end(), error);
  auto start = std::find_if(view.calls.begin(), view.calls.end(),
                            [](const std::string& c) { return c.rfind("start ", 0) == 0; });
  ASSERT_NE(at, view.calls.end());
  ASSERT_NE(start, view.calls.end());
  EXPECT_LT(at, start);
  EXPECT_FALSE(form->Snapshot().taken);

  // Discarding now would put the earlier run's data over today's work.
  dialogs.answers = {Answer::Yes};
  form->DiscardAndExit();
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb"), std::optional<std::string>("new"));
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb.TMP"), std::optional<std::string>("earlier run"));
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(dialogs.shown.back().rfind("error: ", 0), 0u);
}

// --- the title picture and the application icon ---

TEST_F(FormMainTest, PictureAndIconAreLoadedByTheirFullPaths) {
  files.Put("D:\\Work\\logo.BMP", "BM");
  files.Put("D:\\Work\\app.ico", "ICO");
  Ini("[System]\r\nImagePath=logo.BMP\r\nIconPath=app.ico\r\n");
  Create();
  ASSERT_TRUE(view.picture.has_value());
  EXPECT_EQ(view.picture->first, "D:\\Work\\logo.BMP");
  EXPECT_EQ(view.picture->second, PictureKind::Bitmap);
  EXPECT_EQ(view.icon, std::optional<std::string>("D:\\Work\\app.ico"));
  EXPECT_EQ(Text(C::EditImagePath), "D:\\Work\\logo.BMP");
  EXPECT_EQ(Text(C::EditIconPath), "D:\\Work\\app.ico");
}

TEST_F(FormMainTest, MissingPictureAndIconFilesKeepTheBuiltInOnesSilently) {
  Ini("[System]\r\nImagePath=none.bmp\r\nIconPath=none.ico\r\n");
  Create();
  EXPECT_FALSE(view.picture.has_value());
  EXPECT_FALSE(view.icon.has_value());
  EXPECT_EQ(Text(C::EditImagePath), "none.bmp");
  EXPECT_THAT(Boxes(), ElementsAre(NoTargetBox()));
}

struct PictureCase {
  const char* name;
  std::string imageFile;  // in D:\Work
  bool loads;
  PictureKind kind;
  std::string error;  // empty: none
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

class PictureErrors : public FormMainTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(PictureErrors, AreReportedAndTheStartGoesOn) {
  const PictureCase& p = GetParam();
  const std::string path = "D:\\Work\\" + p.imageFile;
  files.Put(path, "?");
  if (!p.loads) view.FailPicture(path);
  Ini("[System]\r\nImagePath=" + p.imageFile + "\r\n");
  Create();
  if (p.error.empty()) {
    ASSERT_TRUE(view.picture.has_value());
    EXPECT_EQ(view.picture->second, p.kind);
    EXPECT_THAT(Boxes(), ElementsAre(NoTargetBox()));
  } else {
    EXPECT_FALSE(view.picture.has_value());
    EXPECT_THAT(Boxes(), ElementsAre("error: " + p.error, NoTargetBox()));
  }
  EXPECT_EQ(view.calls.back(), "front");  // the set-up and the watch went on
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureErrors,
    ::testing::Values(PictureCase{"Png", "logo.png", true, PictureKind::Unsupported,
                                  "拡張子 .png の画像形式は処理できません"},
                      PictureCase{"NoExtension", "logo", true, PictureKind::Unsupported,
                                  "拡張子 . の画像形式は処理できません"},
                      PictureCase{"DamagedBitmap", "logo.bmp", false, PictureKind::Bitmap,
                                  "ビットマップイメージが不正です"},
                      PictureCase{"DamagedMetafile", "logo.Wmf", false, PictureKind::Metafile,
                                  "メタファイルが不正です"},
                      PictureCase{"DamagedIconAsPicture", "logo.ico", false, PictureKind::Icon,
                                  "アイコンイメージが不正です"},
                      PictureCase{"Emf", "logo.EMF", true, PictureKind::Metafile, ""},
                      PictureCase{"Ico", "logo.ico", true, PictureKind::Icon, ""}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return std::string(info.param.name); });

TEST_F(FormMainTest, DamagedIconIsReportedAndTheBuiltInOneStays) {
  files.Put("D:\\Work\\app.ico", "?");
  view.FailIcon("D:\\Work\\app.ico");
  Ini("[System]\r\nIconPath=app.ico\r\n");
  Create();
  EXPECT_FALSE(view.icon.has_value());
  EXPECT_THAT(Boxes(), ElementsAre("error: アイコンイメージが不正です", NoTargetBox()));
}

// --- the tray icon and the end of the run ---

TEST_F(FormMainTest, TrayClicksAreConsumedAndOpenNothing) {
  Create();
  const std::size_t before = view.calls.size();
  EXPECT_TRUE(form->TrayIconUsed(TrayMouse::LeftDown));
  EXPECT_TRUE(form->TrayIconUsed(TrayMouse::RightDown));
  EXPECT_FALSE(form->TrayIconUsed(TrayMouse::Move));
  EXPECT_FALSE(form->TrayIconUsed(TrayMouse::LeftDoubleClick));
  EXPECT_EQ(view.calls.size(), before);
}

TEST_F(FormMainTest, DestroyShowsTheApplicationWindowAgain) {
  Create();
  const std::size_t before = view.calls.size();
  form->WindowDestroyed();
  EXPECT_THAT(CallsFrom(before), ElementsAre("app show"));
}

}  // namespace
}  // namespace quandrel::testing
