// The three kinds of message box, and the file-open dialog.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quandrel {

enum class Answer { Yes, No, Abort };

struct FileFilter {
  std::string label;
  std::string pattern;
};

struct FileDialogRequest {
  std::vector<FileFilter> filters;  // the first one is selected
  std::string initialName;          // what the file-name box starts with
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Plain message: the application title as caption, one "OK", no icon.
  virtual void ShowMessage(const std::string& text) = 0;
  // Error box: caption "エラー", error icon, one "OK".
  virtual void ShowError(const std::string& text) = 0;
  // Confirmation box: caption "確認", question icon, "はい(&Y)" (default) and
  // "いいえ(&N)", and "中止(&A)" when withAbort. Esc or closing answers No.
  virtual Answer Confirm(const std::string& text, bool withAbort) = 0;
  // The same box with "はい(&Y)" and "いいえ(&N)", where "いいえ(&N)" is the
  // default button: Enter answers No, for questions whose Yes loses work.
  virtual Answer ConfirmDefaultNo(const std::string& text) = 0;
  // The standard file-open dialog for one file: its full path, or nothing
  // when the user cancels.
  virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
};

}  // namespace quandrel
