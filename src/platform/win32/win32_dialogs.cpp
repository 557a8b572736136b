#include "platform/win32/win32_dialogs.h"

#include <commdlg.h>

#include <string>
#include <vector>

namespace quandrel::win32 {

namespace {

// The file dialog's DLL is loaded at its first use, from the system
// directory by full path: a start that never opens the dialog does not pay
// for loading it and what it pulls in. Null when it can't be had.
using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
GetOpenFileNameFn OpenFileDialogEntry() {
  static GetOpenFileNameFn entry = []() -> GetOpenFileNameFn {
    char folder[MAX_PATH + 1] = {};
    const UINT n = ::GetSystemDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return nullptr;
    const std::string path = std::string(folder, n) + "\\comdlg32.dll";
    HMODULE dll = ::LoadLibraryA(path.c_str());  // kept for the process's life
    if (!dll) return nullptr;
    return reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(::GetProcAddress(dll, "GetOpenFileNameA")));
  }();
  return entry;
}

constexpr UINT kBoxFlags = MB_SETFOREGROUND;
// The abort button gets an id of its own, so that Esc (which always sends
// IDCANCEL) can answer "いいえ" while the button answers "中止".
constexpr int kAbortButtonId = 0x7A01;

struct ConfirmHook {
  HHOOK hook = nullptr;
  WNDPROC original = nullptr;
  bool withAbort = false;
};
thread_local ConfirmHook g_confirm;

LRESULT CALLBACK ConfirmBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    switch (LOWORD(wParam)) {
      case IDCANCEL:  // Esc, or the box closed without an answer
        ::EndDialog(box, IDNO);
        return 0;
      case kAbortButtonId:
        ::EndDialog(box, IDABORT);
        return 0;
    }
  }
  return ::CallWindowProcA(g_confirm.original, box, message, wParam, lParam);
}

LRESULT CALLBACK ConfirmCbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    ::UnhookWindowsHookEx(g_confirm.hook);
    g_confirm.hook = nullptr;
    if (HWND yes = ::GetDlgItem(box, IDYES)) ::SetWindowTextA(yes, "はい(&Y)");
    if (HWND no = ::GetDlgItem(box, IDNO)) ::SetWindowTextA(no, "いいえ(&N)");
    if (g_confirm.withAbort) {
      if (HWND cancel = ::GetDlgItem(box, IDCANCEL)) {
        ::SetWindowTextA(cancel, "中止(&A)");
        ::SetWindowLongPtrA(cancel, GWLP_ID, kAbortButtonId);
      }
    }
    g_confirm.original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ConfirmBoxProc)));
    return 0;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void Win32Dialogs::ShowMessage(const std::string& text) {
  std::string caption = title_ ? title_() : std::string();
  ::MessageBoxA(Owner(), text.c_str(), caption.c_str(), MB_OK | kBoxFlags);
}

void Win32Dialogs::ShowError(const std::string& text) {
  ::MessageBoxA(Owner(), text.c_str(), "エラー", MB_OK | MB_ICONERROR | kBoxFlags);
}

Answer Win32Dialogs::Confirm(const std::string& text, bool withAbort) {
  return Ask(text, withAbort, MB_DEFBUTTON1);
}

Answer Win32Dialogs::ConfirmDefaultNo(const std::string& text) { return Ask(text, false, MB_DEFBUTTON2); }

Answer Win32Dialogs::Ask(const std::string& text, bool withAbort, UINT defaultButton) {
  g_confirm = ConfirmHook{};
  g_confirm.withAbort = withAbort;
  g_confirm.hook = ::SetWindowsHookExA(WH_CBT, ConfirmCbtProc, nullptr, ::GetCurrentThreadId());
  UINT buttons = withAbort ? MB_YESNOCANCEL : MB_YESNO;
  int result = ::MessageBoxA(Owner(), text.c_str(), "確認", buttons | MB_ICONQUESTION | defaultButton | kBoxFlags);
  if (g_confirm.hook) ::UnhookWindowsHookEx(g_confirm.hook);
  g_confirm = ConfirmHook{};
  switch (result) {
    case IDYES: return Answer::Yes;
    case IDABORT: return Answer::Abort;
    default: return Answer::No;
  }
}

std::optional<std::string> Win32Dialogs::OpenFile(const FileDialogRequest& request) {
  // Filter: label, NUL, pattern, NUL, ..., NUL.
  std::string filter;
  for (const FileFilter& f : request.filters) {
    filter += f.label;
    filter += '\0';
    filter += f.pattern;
    filter += '\0';
  }
  filter += '\0';
  std::vector<char> name(32 * 1024, '\0');
  request.initialName.copy(name.data(), std::min(request.initialName.size(), name.size() - 1));

  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Owner();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  const GetOpenFileNameFn getOpenFileName = OpenFileDialogEntry();
  if (!getOpenFileName || !getOpenFileName(&ofn)) return std::nullopt;
  return std::string(name.data());
}

}  // namespace quandrel::win32
