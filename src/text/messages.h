// Every text the program shows in a message, error or confirmation box, as
// a whole template: "%s" stands for a part that changes (a path, a file
// name, an extension, or the system's own words for an error), filled in
// by Fill. The user guide's message table explains each text of kAll, and
// a test holds the guide to that list.
#pragma once

#include <initializer_list>
#include <string>

namespace quandrel::messages {

// Start
inline constexpr char kSecondStart[] = "【 %s 】は\n\n既に起動しています（２重起動禁止！）\n";

// Settings file
inline constexpr char kSettingsNotWritten[] = "%s に書き込めません";

// The program the target is opened with, from its association.
inline constexpr char kExtensionUnreadable[] = "拡張子 \"%s\" のレジストリ内容を読み込めません";
inline constexpr char kClassUnknown[] = "\"%s\" の関連付けを認識できません";
inline constexpr char kDefaultVerbBroken[] = "拡張子 \"%s\" の標準の関連づけが異常です";
inline constexpr char kVerbNotRunnable[] = "拡張子 \"%s\" の関連づけを実行できません";

// The start of the program that works on the target (first launch and
// relaunch): no target is set, or the command line could not be started.
inline constexpr char kNoTarget[] =
    "開くファイルが設定されていません\n\n設定変更の「最初に開くファイル名の指定」か、"
    "設定ファイル %s の DBPath に開くファイルを書いてください。";
inline constexpr char kProgramNotStarted[] = "プログラムを起動できません\n\n%s\n\n%s";

// The snapshot taken before a run: the target could not be copied, or the
// copy could not be written.
inline constexpr char kCannotCopy[] =
    "%s の控えを取れません\n\n%s\n\nこのまま開きますが、次の破棄終了では元に戻せません。";

inline constexpr char kSnapshotPathTooLong[] =
    "%s の控えを取れません\n\n控えのファイル名が長すぎます:\n%s\n\n"
    "データベースを、もっと短いパスのフォルダーに置いてください。\n"
    "このまま開きますが、次の破棄終了では元に戻せません。";

// End of a run
inline constexpr char kDiscardQuestion[] = "本当にデータベースの更新分を\n破棄してよろしいですか？";
inline constexpr char kDiscardCancelled[] = "破棄終了を中止しました";
inline constexpr char kRestoreWithoutRunSnapshot[] =
    "%s を元に戻せません\n\n今回の起動時に取った控えのファイルがありません。";
inline constexpr char kMissingForRestore[] = "%s がないため元に戻せません\n\n%s";
inline constexpr char kCannotRestore[] = "%s を元に戻せません\n\n%s";
inline constexpr char kBackupWithoutRunSnapshot[] =
    "%s を更新できません\n\n今回の起動時に取った控えのファイルがありません。\n"
    "データベースの変更はそのまま保存されています。";
inline constexpr char kMissingForBackup[] =
    "%s がないためバックアップを更新できません\n\n%s\nデータベースの変更はそのまま保存されています。";
inline constexpr char kCannotUpdateBackup[] = "%s を更新できません\n\n%s";
// After a failed move the run could not take hold of its snapshot again.
inline constexpr char kSnapshotHoldLost[] =
    "%s の控えを確保できなくなりました\n\n%s\n\nほかの起動に置き換えられるおそれがあるため、破棄終了では元に戻せません。";
// Save & exit or save & continue found no database at the target path.
inline constexpr char kDatabaseNotFound[] =
    "%s が見つかりません\n\nドライブかフォルダーの接続が切れているかもしれません。"
    "どのファイルにも手を付けていません。\n接続が戻ってから、もう一度ボタンを押してください。";

// Shared use: the database is open elsewhere, so an action that would
// replace or rewrite it stops before it changes anything. The people the
// lock file names come as lines of kLockFileEntry (kLockFileEntryHere for
// this computer), and kLockFileMore when there are too many to show.
inline constexpr char kOpenElsewhere[] =
    "%s は、ほかのコンピュータかプログラムで開かれています。\n\n"
    "ロックファイルに記録されている名前（もう閉じた人が残っていることもあります）:\n%s\n\n"
    "開いている人の作業を消さないよう、何も変更せずに中止しました。\n"
    "データベースを閉じてもらってから、もう一度行ってください。";
inline constexpr char kOpenElsewhereNoNames[] =
    "%s は、ほかのコンピュータかプログラムで開かれています。\n\n"
    "どこで開かれているかは分かりません。\n\n"
    "開いている人の作業を消さないよう、何も変更せずに中止しました。\n"
    "データベースを閉じてもらってから、もう一度行ってください。";
inline constexpr char kLockFileEntry[] = "・%s（ユーザー名 %s）";
inline constexpr char kLockFileEntryHere[] = "・%s（ユーザー名 %s）← このコンピュータ";
inline constexpr char kLockFileMore[] = "・ほか %s 件";
// Discard & exit after other computers had the database open during the run.
inline constexpr char kDiscardQuestionOthers[] =
    "本当にデータベースの更新分を\n破棄してよろしいですか？\n\n"
    "今回の実行中に、ほかのコンピュータもこのデータベースを開いていました:\n%s\n\n"
    "破棄すると、実行を始めてから今までにその人たちが加えた変更も消えます。";
// A database file that fails the check: what the user is told when a run
// has left it so, before a save of it, and when the save keeps the sound
// backup copy in place of a snapshot that fails the check.
inline constexpr char kTargetDamagedSnapshotSound[] =
    "%s が壊れている可能性があります。\n\n%s\n\n"
    "今回の起動前の状態が控え %s に残っています。\n"
    "破棄終了でその状態に戻すか、修復をお試しください。";
inline constexpr char kTargetDamagedBackupSound[] =
    "%s が壊れている可能性があります。\n\n%s\n\n"
    "前回保存した状態がバックアップ %s に残っています。\n"
    "修復をお試しいただくか、使い方ガイドの「.BAK から手で元に戻す」の手順で戻してください。";
inline constexpr char kSaveDamagedQuestion[] =
    "%s が壊れている可能性があります。\n\n%s\n\n"
    "このまま保存しますか？\n（正常な控えとバックアップは消さずに残します）";
inline constexpr char kSaveCancelled[] = "保存を中止しました";
inline constexpr char kBackupKeptSnapshotUnsound[] =
    "今回の起動前の控え %s はデータベースとして読めないため、バックアップにしませんでした。\n\n%s\n\n"
    "正常なバックアップ %s はそのまま残し、読めない控えは %s という名前で残しました。\n"
    "データベースの変更はそのまま保存されています。";
inline constexpr char kSnapshotKeptSound[] =
    "%s の控えを取れません\n\n"
    "控え %s は正常なデータベースで、今のデータベースは読めないため、控えを置き換えずに残しました。\n\n"
    "このまま開きますが、次の破棄終了では元に戻せません。";
// The snapshot's name holds a sound database that this run does not hold.
inline constexpr char kSnapshotNotThisRuns[] =
    "%s の控えを取れません\n\n"
    "控え %s は今回の起動のものではない正常なデータベースのため、置き換えずに残しました"
    "（正常に終わらなかった起動の控えか、ほかのパソコンの起動の控えです）。\n\n"
    "このまま開きますが、次の破棄終了では元に戻せません。";
inline constexpr char kCannotSetAside[] = "%s を %s という名前で残せません\n\n%s";

// Why a file fails the database check.
inline constexpr char kDatabaseUnreadable[] = "ファイルを読めません。%s";
inline constexpr char kDatabaseEmpty[] = "ファイルが空です（0 バイト）。";
inline constexpr char kDatabaseTooShort[] = "ファイルが短すぎます（%s バイト）。";
inline constexpr char kDatabaseNotWholePages[] =
    "ファイルの大きさ（%s バイト）が %s バイトのページの倍数ではありません。途中で切れている可能性があります。";
inline constexpr char kDatabaseNoHeader[] = "ファイルの先頭が Access のデータベースの形になっていません。";

// A snapshot left by a run that did not end with save or discard, found at
// the next start.
inline constexpr char kLeftoverQuestion[] =
    "前回の作業が保存終了・破棄終了で終わっていません（停電、強制終了、ウィンドウを閉じたときなど）。\n\n"
    "%s に、前回の起動前の状態が残っています。\n\n"
    "戻す：前回の起動前の状態に戻して開きます（前回の作業での変更は消えます）。\n"
    "残す：前回の起動前の状態を %s という名前で残し、今の状態のまま開きます。\n"
    "中止：何もせずに終了します。";
// The same with history on: both choices keep the state they replace.
inline constexpr char kLeftoverQuestionHistory[] =
    "前回の作業が保存終了・破棄終了で終わっていません（停電、強制終了、ウィンドウを閉じたときなど）。\n\n"
    "%s に、前回の起動前の状態が残っています。\n\n"
    "戻す：前回の起動前の状態に戻して開きます（前回の作業での変更は履歴 %s に残ります）。\n"
    "残す：前回の起動前の状態を履歴 %s に残し、今の状態のまま開きます。\n"
    "中止：何もせずに終了します。";

// Compaction and repair
inline constexpr char kAccessMissing[] =
    "Microsoft Access が見つかりません\n\nこのコンピュータには MSACCESS.EXE が登録されていません";
inline constexpr char kAccessNotStarted[] = "Microsoft Access を起動できません\n\n%s\n\n%s";
inline constexpr char kCompactionDone[] = "「 %s 」の最適化が終了しました。";
inline constexpr char kCompactOtherFile[] =
    "同一フォルダの別ファイルを探しています。\n\n「 %s 」が同一フォルダに見つかりました\n\n"
    "このファイルも最適化しますか？\n\n";
inline constexpr char kCompactionOver[] = "\n\n以上で最適化処理を終了します。";

// Title picture and icon
inline constexpr char kPictureFormatUnknown[] = "拡張子 .%s の画像形式は処理できません";
inline constexpr char kBitmapBroken[] = "ビットマップイメージが不正です";
inline constexpr char kMetafileBroken[] = "メタファイルが不正です";
inline constexpr char kIconBroken[] = "アイコンイメージが不正です";

// Settings save
inline constexpr char kSettingsSaved[] = "設定が Ini ファイルに書き込まれました";
inline constexpr char kRunEndedBySave[] = "現在作業中だった MDB ファイルを一旦保存終了します";

// Backup window
inline constexpr char kPrefixMissing[] =
    "\nPreFix設定は削除できません。\n\n"
    "ルート直下へのバックアップ（コピー元と全く同じ構造）を希望する時は、\n\n"
    "【\"\"】（半角ダブルクォーテーション２つ）を入れて下さい。\n";
inline constexpr char kNoDrive[] = "バックアップ先ドライブを選んで下さい。";
inline constexpr char kNoDestination[] = "バックアップ先フォルダ名を指定して下さい。";
inline constexpr char kCopyProgramMissing[] = "%s を起動できません";
inline constexpr char kCopyProgramNotStarted[] = "%s を起動できません\n\n%s";

// History: earlier states of the database kept in "<name> の履歴"
inline constexpr char kCannotKeepGeneration[] =
    "%s を履歴に残せません\n\n%s\n\nファイルは何も変わっていません。";
inline constexpr char kCannotMarkReadOnly[] = "履歴 %s を読み取り専用にできません\n\n%s";
inline constexpr char kCannotPrune[] = "古い履歴 %s を削除できません\n\n%s";
inline constexpr char kRestoreQuestion[] =
    "データベースを %s の状態に戻します。よろしいですか？\n\n今のデータベースは履歴に残ります。";
inline constexpr char kRestored[] = "データベースを %s の状態に戻しました。\n\n戻す前の状態は履歴に残っています。\n%s";
inline constexpr char kRestoredNothingKept[] = "データベースを %s の状態に戻しました。";
inline constexpr char kCannotRestoreGeneration[] =
    "%s の状態に戻せません\n\n%s\n\nデータベースは変わっていません。";
inline constexpr char kCannotKeepForRestore[] =
    "%s を履歴に残せないため、戻しませんでした\n\n%s\n\n"
    "ほかのパソコンで開かれているときは、閉じてもらってからやり直してください。";
inline constexpr char kStateLeftInGeneration[] =
    "%s の状態に戻せません\n\n%s\n\n戻す前のデータベースは %s にあります。"
    "エクスプローラーでコピーして、名前を %s に戻してください。";

inline constexpr char kKeptStateNotPutBack[] =
    "%s は履歴 %s に移したまま、元の名前に戻せません\n\n%s";

// Stands for the system's words for an error when it has none.
inline constexpr char kErrorNumber[] = "エラー番号 %s";

inline constexpr const char* kAll[] = {
    kSecondStart,        kSettingsNotWritten,     kExtensionUnreadable,  kClassUnknown,
    kDefaultVerbBroken,  kVerbNotRunnable,        kNoTarget,             kProgramNotStarted,
    kCannotCopy,           kSnapshotPathTooLong,
    kDiscardQuestion,    kDiscardCancelled,       kRestoreWithoutRunSnapshot, kMissingForRestore,
    kCannotRestore,      kBackupWithoutRunSnapshot, kMissingForBackup,   kCannotUpdateBackup,
    kSnapshotHoldLost,
    kDatabaseNotFound,
    kAccessMissing,      kAccessNotStarted,       kCompactionDone,       kCompactOtherFile,
    kCompactionOver,     kPictureFormatUnknown,   kBitmapBroken,         kMetafileBroken,
    kIconBroken,         kSettingsSaved,          kRunEndedBySave,       kPrefixMissing,
    kNoDrive,            kNoDestination,          kCopyProgramMissing,   kCopyProgramNotStarted,
    kErrorNumber,        kTargetDamagedSnapshotSound, kTargetDamagedBackupSound, kSaveDamagedQuestion,
    kSaveCancelled,      kBackupKeptSnapshotUnsound, kSnapshotKeptSound, kSnapshotNotThisRuns, kCannotSetAside,    kDatabaseUnreadable,
    kDatabaseEmpty,      kDatabaseTooShort,       kDatabaseNotWholePages, kDatabaseNoHeader,
    kLeftoverQuestion,   kLeftoverQuestionHistory,
    kErrorNumber,        kCannotKeepGeneration,   kCannotMarkReadOnly,   kCannotPrune,
    kRestoreQuestion,    kRestored,               kRestoredNothingKept,  kCannotRestoreGeneration,
    kCannotKeepForRestore, kStateLeftInGeneration, kKeptStateNotPutBack,
    kOpenElsewhere,      kOpenElsewhereNoNames,   kLockFileEntry,        kLockFileEntryHere,
    kLockFileMore,       kDiscardQuestionOthers,
};

// The template with each "%s" replaced by the next of `parts`, in order. The
// parts are taken as they are: a "%s" inside a path is not filled again. A
// "%s" with no part left stays empty.
std::string Fill(const char* messageTemplate, std::initializer_list<std::string> parts);

}  // namespace quandrel::messages
