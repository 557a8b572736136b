// Settings editing in the main window: the live title, picture and icon,
// the browse buttons, the save and the discard of changes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "main_window_fixture.h"

namespace quandrel::testing {
namespace {

using C = Control;
using ::testing::ElementsAre;

const char kWritten[] = "message: 設定が Ini ファイルに書き込まれました";
const char kSavedEnd[] = "message: 現在作業中だった MDB ファイルを一旦保存終了します";

// --- display title ---

TEST_F(FormMainTest, TitleFollowsTypingWithTheTargetHeldInMemory) {
  Create();  // no settings file
  EXPECT_EQ(view.displayTitle, "Quandrel (D:\\Work\\Quandrel.exe)");
  form->EnterSettingsMode();
  Type(C::EditTitle, "販");
  EXPECT_EQ(view.displayTitle, "販");
  Type(C::EditTitle, "販売");
  EXPECT_EQ(view.displayTitle, "販売");
  // A target typed but not saved does not name the run yet.
  files.Put("D:\\Work\\sales.mdb", "data");
  Type(C::EditDBpath, "sales.mdb");
  Type(C::EditTitle, "");
  EXPECT_EQ(view.displayTitle, "Quandrel (D:\\Work\\Quandrel.exe)");
}

TEST_F(FormMainTest, EmptiedTitleShowsTheTargetName) {
  CreateWithSales("Title=Sales\r\n");
  EXPECT_EQ(view.displayTitle, "Sales");
  form->EnterSettingsMode();
  Type(C::EditTitle, "");
  EXPECT_EQ(view.displayTitle, "sales.mdb の実行環境");
}

TEST_F(FormMainTest, SaveWithoutTitleOrTargetGivesTheBareName) {
  Create();
  form->EnterSettingsMode();
  Type(C::EditDBpath, "nowhere.mdb");
  form->SaveSettings();
  EXPECT_EQ(view.displayTitle, "Quandrel");
}

// --- the save ---

TEST_F(FormMainTest, SaveWritesAllSevenKeysTellsTwiceAndLetsTheSnapshotGo) {
  CreateWithSales();
  ASSERT_TRUE(files.Has("D:\\Work\\sales.mdb.TMP"));
  // The snapshot goes only after the user has read the second message.
  bool snapshotWhileTold = false;
  dialogs.onShow = [&](const std::string& line) {
    if (line == kSavedEnd) snapshotWhileTold = files.Has("D:\\Work\\sales.mdb.TMP");
  };
  EXPECT_TRUE(files.Held("D:\\Work\\sales.mdb.TMP"));
  form->EnterSettingsMode();
  form->SaveSettings();

  EXPECT_TRUE(snapshotWhileTold);
  EXPECT_EQ(files.Get(kIni), std::optional<std::string>(
                                 "[Execute]\r\nDBPath=sales.mdb\r\n[System]\r\nImagePath=\r\nIconPath=\r\n"
                                 "Title=\r\nCustomize=Enable\r\nMDBbak=Use\r\nUnClose=Use\r\n"));
  EXPECT_THAT(Boxes(), ElementsAre(kWritten, kSavedEnd));
  EXPECT_FALSE(files.Has("D:\\Work\\sales.mdb.TMP"));
  EXPECT_FALSE(form->Snapshot().taken);
  EXPECT_EQ(view.displayTitle, "sales.mdb の実行環境");
  EXPECT_TRUE(view.IsVisible(C::BitBtnAcExit));
  EXPECT_TRUE(view.IsVisible(C::BitBtnCustom));
  EXPECT_FALSE(view.IsVisible(C::BitBtnOK));

  // With the snapshot let go, a discard restores nothing and keeps the work.
  dialogs.answers = {Answer::Yes};
  form->DiscardAndExit();
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb"), std::optional<std::string>("new"));
  EXPECT_FALSE(view.closed);
  // A save & exit neither invents a backup copy.
  form->SaveAndExit();
  EXPECT_FALSE(files.Has("D:\\Work\\sales.mdb.BAK"));
}

// Values that end in the first byte of a double-byte character: shown as
// they were, such a byte made the conversion for the window read on into
// the next text of the program ("・ELLO-TITLE"), and a save then wrote that
// text into the file. The lone byte is dropped when the value is loaded.
TEST_F(FormMainTest, LoneLeadByteAtTheEndOfAValueIsDroppedAndNoOtherTextIsSaved) {
  Ini("[System]\r\nTitle=HELLO-TITLE\r\nImagePath=\x81\r\nIconPath=ab\xE0\r\n");
  Create();
  EXPECT_EQ(Text(C::EditTitle), "HELLO-TITLE");
  EXPECT_EQ(Text(C::EditImagePath), "");
  EXPECT_EQ(Text(C::EditIconPath), "ab");

  form->EnterSettingsMode();
  form->SaveSettings();
  const std::string saved = files.Get(kIni).value_or("");
  EXPECT_NE(saved.find("ImagePath=\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("IconPath=ab\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Title=HELLO-TITLE\r\n"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("TITLE"), saved.rfind("TITLE")) << "another key's text was written: " << saved;
}

TEST_F(FormMainTest, SaveKeepsTheFieldsAsTypedAndStoresShortenedPaths) {
  files.Put("D:\\Work\\sales.mdb", "data");
  files.Put("E:\\Pics\\logo.bmp", "BM");
  Create();
  form->EnterSettingsMode();
  Type(C::EditDBpath, "D:\\WORK\\sales.mdb");  // in the settings file's folder
  Type(C::EditImagePath, "E:\\Pics\\logo.bmp");        // elsewhere
  Type(C::EditIconPath, "missing.ico");                 // no such file
  Type(C::EditTitle, "販売");
  Tick(C::CboxNonCustom, true);
  Tick(C::CboxMDBbak, false);
  Tick(C::CboxUnClose, false);
  form->SaveSettings();

  EXPECT_EQ(files.Get(kIni), std::optional<std::string>(
                                 "[Execute]\r\nDBPath=sales.mdb\r\n[System]\r\nImagePath=E:\\Pics\\logo.bmp\r\n"
                                 "IconPath=missing.ico\r\nTitle=販売\r\nCustomize=Disable\r\nMDBbak=Never\r\n"
                                 "UnClose=Never\r\n"));
  EXPECT_EQ(Text(C::EditDBpath), "D:\\WORK\\sales.mdb");
  EXPECT_EQ(form->Settings().DBPath, "sales.mdb");
  // The new switches apply at once: compact, and no snapshot actions.
  EXPECT_EQ(view.outerHeight, std::optional<int>(220));
  EXPECT_TRUE(view.IsVisible(C::BitBtnRestart));
  EXPECT_FALSE(view.IsVisible(C::BitBtnAcQuit));
  // No run took a snapshot of an ".MDB" target here, so one message only.
  EXPECT_THAT(Boxes(), ElementsAre(NoTargetBox(), kWritten));
}

TEST_F(FormMainTest, ChangingTheTargetToAProgramDeletesTheOldTargetsSnapshot) {
  CreateWithSales();
  files.Put("D:\\Work\\tool.exe", "MZ");
  form->EnterSettingsMode();
  Type(C::EditDBpath, "D:\\Work\\tool.exe");
  form->SaveSettings();
  EXPECT_THAT(Boxes(), ElementsAre(kWritten, kSavedEnd));
  EXPECT_FALSE(files.Has("D:\\Work\\sales.mdb.TMP"));
  for (C c : {C::BitBtnAcRepair, C::BitBtnAcCompact, C::BitBtnAcQuit, C::BitBtnAcSave, C::BitBtnAcExit})
    EXPECT_FALSE(view.IsVisible(c));
  EXPECT_TRUE(view.IsVisible(C::BitBtnRestart));
  EXPECT_TRUE(view.IsVisible(C::BitBtnExit));
}

TEST_F(FormMainTest, FailedSaveStaysInSettingsModeAndKeepsTheSnapshot) {
  CreateWithSales();
  files.MakeFolderReadOnly("D:\\Work");
  const std::string title = view.displayTitle;
  form->EnterSettingsMode();
  form->SaveSettings();
  EXPECT_THAT(Boxes(), ElementsAre("error: D:\\Work\\Quandrel.INI に書き込めません\n\nアクセスが拒否されました。"));
  EXPECT_TRUE(files.Has("D:\\Work\\sales.mdb.TMP"));
  EXPECT_TRUE(form->Snapshot().taken);
  EXPECT_TRUE(view.IsVisible(C::BitBtnOK));
  EXPECT_FALSE(view.IsReadOnly(C::EditDBpath));
  EXPECT_EQ(view.displayTitle, title);
}

TEST_F(FormMainTest, FailedSaveOnAFullDiskSaysSo) {
  CreateWithSales();
  form->EnterSettingsMode();
  files.FailCall(files.DiskCalls() + 2, os_error::kDiskFull, true);  // the read works, the write does not
  form->SaveSettings();
  EXPECT_THAT(Boxes(), ElementsAre("error: D:\\Work\\Quandrel.INI に書き込めません\n\nディスクに十分な空き領域がありません。"));
  EXPECT_TRUE(files.Has("D:\\Work\\sales.mdb.TMP"));
}

// --- the discard of changes ---

TEST_F(FormMainTest, DiscardPutsTargetAndSwitchesBackButKeepsThePreview) {
  CreateWithSales();
  files.Put("D:\\Work\\other.mdb", "other");
  files.Put("D:\\Work\\logo.bmp", "BM");
  form->EnterSettingsMode();
  Type(C::EditDBpath, "other.mdb");
  Tick(C::CboxMDBbak, false);
  Tick(C::CboxNonCustom, true);
  Type(C::EditTitle, "新しい名前");
  Type(C::EditImagePath, "logo.bmp");
  form->DiscardSettingsEdits();

  EXPECT_EQ(Text(C::EditDBpath), "D:\\Work\\sales.mdb");
  EXPECT_TRUE(view.Ticked(C::CboxMDBbak));
  EXPECT_FALSE(view.Ticked(C::CboxNonCustom));
  EXPECT_EQ(view.displayTitle, "新しい名前");
  EXPECT_EQ(Text(C::EditTitle), "新しい名前");
  ASSERT_TRUE(view.picture.has_value());
  EXPECT_EQ(view.picture->first, "D:\\Work\\logo.bmp");
  EXPECT_FALSE(files.Has(kIni + std::string(".part")));
  EXPECT_EQ(files.Get(kIni), std::optional<std::string>("[Execute]\r\nDBPath=sales.mdb\r\n[System]\r\n"));
  EXPECT_TRUE(view.IsVisible(C::BitBtnAcExit));
  EXPECT_EQ(view.outerHeight, std::nullopt);

  // The end-of-run action works on the file whose snapshot was taken.
  form->SaveAndExit();
  EXPECT_EQ(files.Get("D:\\Work\\sales.mdb.BAK"), std::optional<std::string>("old"));
  EXPECT_EQ(files.Get("D:\\Work\\other.mdb"), std::optional<std::string>("other"));
  EXPECT_TRUE(view.closed);
}

TEST_F(FormMainTest, DiscardAfterAFailedSaveReturnsToTheValuesInForce) {
  CreateWithSales();
  files.Put("D:\\Work\\tool.exe", "MZ");
  files.MakeFolderReadOnly("D:\\Work");
  form->EnterSettingsMode();
  Type(C::EditDBpath, "tool.exe");
  Tick(C::CboxUnClose, false);
  form->SaveSettings();
  form->DiscardSettingsEdits();
  EXPECT_EQ(form->Settings().DBPath, "D:\\Work\\sales.mdb");
  EXPECT_EQ(form->Settings().UnClose.Text(), "Use");
  EXPECT_TRUE(view.IsVisible(C::BitBtnAcQuit));
  EXPECT_FALSE(view.IsVisible(C::BitBtnRestart));
}

// --- live picture and icon ---

TEST_F(FormMainTest, PictureLoadsAsSoonAsTheTypedTextNamesAFile) {
  files.Put("D:\\Work\\logo.bmp", "BM");
  Create();
  form->EnterSettingsMode();
  Type(C::EditImagePath, "logo.bm");
  EXPECT_FALSE(view.picture.has_value());
  EXPECT_EQ(form->Settings().ImagePath, "logo.bm");
  Type(C::EditImagePath, "logo.bmp");
  ASSERT_TRUE(view.picture.has_value());
  EXPECT_EQ(view.picture->first, "D:\\Work\\logo.bmp");
  EXPECT_EQ(form->Settings().ImagePath, "D:\\Work\\logo.bmp");
  EXPECT_EQ(Text(C::EditImagePath), "logo.bmp");  // the field keeps what was typed
}

TEST_F(FormMainTest, PictureOrIconThatCannotBeLoadedIsReportedAndTheOldOneStays) {
  files.Put("D:\\Work\\good.bmp", "BM");
  files.Put("D:\\Work\\bad.bmp", "??");
  files.Put("D:\\Work\\bad.ico", "??");
  view.FailPicture("D:\\Work\\bad.bmp");
  view.FailIcon("D:\\Work\\bad.ico");
  Create();
  form->EnterSettingsMode();
  Type(C::EditImagePath, "good.bmp");
  Type(C::EditImagePath, "bad.bmp");
  Type(C::EditIconPath, "bad.ico");
  EXPECT_THAT(Boxes(), ElementsAre(NoTargetBox(), "error: ビットマップイメージが不正です",
                                   "error: アイコンイメージが不正です"));
  EXPECT_EQ(view.picture->first, "D:\\Work\\good.bmp");
  EXPECT_FALSE(view.icon.has_value());
  EXPECT_EQ(form->Settings().ImagePath, "D:\\Work\\bad.bmp");
  EXPECT_EQ(form->Settings().IconPath, "D:\\Work\\bad.ico");
  EXPECT_EQ(Text(C::EditImagePath), "bad.bmp");
}

// --- browse buttons ---

TEST_F(FormMainTest, BrowseDialogsOfferTheirFilters) {
  Create();
  form->EnterSettingsMode();
  form->ChooseTargetFile();
  form->ChoosePictureFile();
  form->ChooseIconFile();
  ASSERT_EQ(dialogs.fileDialogs.size(), 3u);
  auto filters = [&](int i) {
    std::vector<std::string> out;
    for (const FileFilter& f : dialogs.fileDialogs[i].filters) out.push_back(f.label + "|" + f.pattern);
    out.push_back(dialogs.fileDialogs[i].initialName);
    return out;
  };
  EXPECT_THAT(filters(0), ElementsAre("最初に開くファイル|*.Exe;*.Wfm;*.Cmd;*.Mdb;*.Accdb", "全てのファイル|*.*",
                                      "*.Exe;*.Wfm;*.Cmd;*.Mdb;*.Accdb"));
  EXPECT_THAT(filters(1), ElementsAre("ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞ|*.bmp", "全てのﾌｧｲﾙ|*.*", "*.bmp"));
  EXPECT_THAT(filters(2), ElementsAre("アイコン (*.ICO)|*.Ico", "全てのﾌｧｲﾙ|*.*", "*.ico"));
  // Cancelled: nothing changed.
  EXPECT_EQ(Text(C::EditDBpath), "");
  EXPECT_THAT(Boxes(), ElementsAre(NoTargetBox()));
}

TEST_F(FormMainTest, BrowseFillsTheFieldAndLoadsThePictureAndIcon) {
  files.Put("E:\\Art\\logo.bmp", "BM");
  files.Put("E:\\Art\\app.ico", "ICO");
  Create();
  form->EnterSettingsMode();
  dialogs.fileChoices = {std::string("E:\\Data\\sales.mdb"), std::string("E:\\Art\\logo.bmp"),
                         std::string("E:\\Art\\app.ico")};
  form->ChooseTargetFile();
  form->ChoosePictureFile();
  form->ChooseIconFile();
  EXPECT_EQ(Text(C::EditDBpath), "E:\\Data\\sales.mdb");
  EXPECT_EQ(Text(C::EditImagePath), "E:\\Art\\logo.bmp");
  EXPECT_EQ(Text(C::EditIconPath), "E:\\Art\\app.ico");
  EXPECT_EQ(view.picture->first, "E:\\Art\\logo.bmp");
  EXPECT_EQ(view.icon, std::optional<std::string>("E:\\Art\\app.ico"));
  EXPECT_EQ(form->Settings().IconPath, "E:\\Art\\app.ico");
  EXPECT_EQ(form->Settings().DBPath, "");  // the target changes only when saved
}

TEST_F(FormMainTest, SaveAndDiscardOutsideSettingsModeDoNothing) {
  CreateWithSales();
  const std::size_t mark = view.calls.size();
  form->DiscardSettingsEdits();
  form->SaveSettings();
  EXPECT_EQ(view.calls.size(), mark);
  EXPECT_EQ(Text(C::EditDBpath), "D:\\Work\\sales.mdb");
  EXPECT_EQ(form->Settings().DBPath, "D:\\Work\\sales.mdb");
  EXPECT_TRUE(files.Has("D:\\Work\\sales.mdb.TMP"));
}

TEST_F(FormMainTest, BackupButtonOpensANewBackupWindowEachTime) {
  Create();
  form->OpenBackup();
  form->OpenBackup();
  EXPECT_EQ(view.backupWindowsOpened, 2);
}

}  // namespace
}  // namespace quandrel::testing
