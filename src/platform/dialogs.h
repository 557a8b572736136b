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

// A question whose buttons the caller names: two or three captions, left
// to right, the one Enter presses and the one Esc (or closing the box)
// answers, each by its index.
struct Choice {
  std::string text;
  std::vector<std::string> buttons;
  int enterButton = 0;
  int escapeButton = 0;
};

// The confirmation box's two buttons with "いいえ(&N)" as the default: Enter
// and Esc both answer No. Choose returns kConfirmedYes for "はい(&Y)".
inline constexpr int kConfirmedYes = 0;
inline Choice ConfirmationWithNoDefault(const std::string& text) { return {text, {"はい(&Y)", "いいえ(&N)"}, 1, 1}; }

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
  // Confirmation box (caption "確認", question icon) with the caller's
  // buttons: the index of the one chosen.
  virtual int Choose(const Choice& choice) = 0;
  // The standard file-open dialog for one file: its full path, or nothing
  // when the user cancels.
  virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
};

}  // namespace quandrel
