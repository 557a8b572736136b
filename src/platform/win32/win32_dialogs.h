#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/dialogs.h"

namespace quandrel::win32 {

class Win32Dialogs : public Dialogs {
 public:
  // `owner` gives the window the boxes belong to (or none); `title` the
  // application title, the caption of plain messages.
  Win32Dialogs(std::function<HWND()> owner, std::function<std::string()> title)
      : owner_(std::move(owner)), title_(std::move(title)) {}

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  Answer Confirm(const std::string& text, bool withAbort) override;
  int Choose(const Choice& choice) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;

 private:
  HWND Owner() const { return owner_ ? owner_() : nullptr; }
  std::function<HWND()> owner_;
  std::function<std::string()> title_;
};

}  // namespace quandrel::win32
