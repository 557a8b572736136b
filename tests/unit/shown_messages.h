// Every text the program can show in a message, error or confirmation box,
// exactly as the program builds it. "%s" stands for a part that changes
// (a path, an extension, a file name, or the system's own words for an
// error). The user guide's message table must hold each of them.
//
// These are copies of the literals in the sources; when a text there
// changes, this list and the guide change with it.
#pragma once

namespace quandrel::testing_texts {

struct ShownMessage {
  const char* where;  // which part of the program shows it
  const char* text;   // CP932 bytes; "%s" marks a changing part
};

inline constexpr ShownMessage kShownMessages[] = {
    // Start
    {"main/instance_guard", "【 %s 】は\n\n既に起動しています（２重起動禁止！）\n"},
    // Settings file
    {"settings", "%s に書き込めません"},
    // Association lookup
    {"launch", "拡張子 \"%s\" のレジストリ内容を読み込めません"},
    {"launch", "\"%s\" の関連付けを認識できません"},
    {"launch", "拡張子 \"%s\" の標準の関連づけが異常です"},
    {"launch", "拡張子 \"%s\" の関連づけを実行できません"},
    // Snapshot before a run
    {"launch/end_of_run", "%s の控えを取れません\n\n%s\n\nこのまま開きますが、次の破棄終了では元に戻せません。"},
    {"launch/end_of_run", "%s に書き込めません\n\n%s\n\nこのまま開きますが、次の破棄終了では元に戻せません。"},
    // End of a run
    {"launch/end_of_run", "本当にデータベースの更新分を\n破棄してよろしいですか？"},
    {"launch/end_of_run", "破棄終了を中止しました"},
    {"launch/end_of_run", "%s を元に戻せません\n\n今回の起動時に取った控えのファイルがありません。"},
    {"launch/end_of_run", "%s がないため元に戻せません\n\n%s"},
    {"launch/end_of_run", "%s を元に戻せません\n\n%s"},
    {"launch/end_of_run",
     "%s を更新できません\n\n今回の起動時に取った控えのファイルがありません。\n"
     "データベースの変更はそのまま保存されています。"},
    {"launch/end_of_run",
     "%s がないためバックアップを更新できません\n\n%s\nデータベースの変更はそのまま保存されています。"},
    {"launch/end_of_run", "%s を更新できません\n\n%s"},
    // Compaction and repair
    {"launch/maintenance", "Microsoft Access が見つかりません\n\nこのコンピュータには MSACCESS.EXE が登録されていません"},
    {"launch/maintenance", "Microsoft Access を起動できません\n\n%s\n\n%s"},
    {"launch/maintenance", "「 %s 」の最適化が終了しました。"},
    {"launch/maintenance",
     "同一フォルダの別ファイルを探しています。\n\n「 %s 」が同一フォルダに見つかりました\n\n"
     "このファイルも最適化しますか？\n\n"},
    {"launch/maintenance", "\n\n以上で最適化処理を終了します。"},
    // Title picture and icon
    {"MainMenu/title_picture", "拡張子 .%s の画像形式は処理できません"},
    {"MainMenu/title_picture", "ビットマップイメージが不正です"},
    {"MainMenu/title_picture", "メタファイルが不正です"},
    {"MainMenu/title_picture", "アイコンイメージが不正です"},
    // Settings save
    {"MainMenu/form_main", "設定が Ini ファイルに書き込まれました"},
    {"MainMenu/form_main", "現在作業中だった MDB ファイルを一旦保存終了します"},
    // Backup window
    {"BackUp/form_backup",
     "\nPreFix設定は削除できません。\n\n"
     "ルート直下へのバックアップ（コピー元と全く同じ構造）を希望する時は、\n\n"
     "【\"\"】（半角ダブルクォーテーション２つ）を入れて下さい。\n"},
    {"BackUp/form_backup", "バックアップ先ドライブを選んで下さい。"},
    {"BackUp/form_backup", "バックアップ先フォルダ名を指定して下さい。"},
    {"BackUp/form_backup", "Xcopy.exe を起動できません\n\n%s"},
    // Where the system has no words for an error, its number stands instead.
    {"launch/end_of_run", "エラー番号 %s"},
};

}  // namespace quandrel::testing_texts
