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
// The box's buttons by position: the system's Yes, No and Cancel buttons,
// relabelled. The third gets an id of its own, so that Esc (which always
// sends IDCANCEL) can answer whichever button the caller named for it.
constexpr int kThirdButtonId = 0x7A01;
constexpr int kButtonIds[] = {IDYES, IDNO, kThirdButtonId};
// Posted to the box when it is activated: the third button takes its own id
// only once the box has laid its buttons out. Wine lays them out after the
// activation, by their ids, and leaves a button of an id it does not know
// where its template put it, under the text.
constexpr UINT kTakeThirdButtonId = WM_APP + 0x7A;

struct ChoiceHook {
  HHOOK hook = nullptr;
  WNDPROC original = nullptr;
  const Choice* choice = nullptr;
};
thread_local ChoiceHook g_choice;

LRESULT CALLBACK ChoiceBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTakeThirdButtonId) {
    if (HWND button = ::GetDlgItem(box, IDCANCEL)) ::SetWindowLongPtrA(button, GWLP_ID, kThirdButtonId);
    return 0;
  }
  if (message == WM_COMMAND) {
    switch (LOWORD(wParam)) {
      case IDCANCEL:  // Esc, or the box closed without an answer
        ::EndDialog(box, kButtonIds[g_choice.choice->escapeButton]);
        return 0;
      case kThirdButtonId:
        ::EndDialog(box, kThirdButtonId);
        return 0;
    }
  }
  return ::CallWindowProcA(g_choice.original, box, message, wParam, lParam);
}

LRESULT CALLBACK ChoiceCbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    ::UnhookWindowsHookEx(g_choice.hook);
    g_choice.hook = nullptr;
    const std::vector<std::string>& captions = g_choice.choice->buttons;
    const int systemIds[] = {IDYES, IDNO, IDCANCEL};
    for (std::size_t i = 0; i < captions.size() && i < 3; ++i) {
      if (HWND button = ::GetDlgItem(box, systemIds[i])) ::SetWindowTextA(button, captions[i].c_str());
    }
    g_choice.original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChoiceBoxProc)));
    if (captions.size() >= 3) ::PostMessageA(box, kTakeThirdButtonId, 0, 0);
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
  Choice choice{text, {"はい(&Y)", "いいえ(&N)"}, 0, 1};
  if (withAbort) choice.buttons.push_back("中止(&A)");
  switch (Choose(choice)) {
    case 0: return Answer::Yes;
    case 2: return Answer::Abort;
    default: return Answer::No;
  }
}

int Win32Dialogs::Choose(const Choice& choice) {
  // Two or three buttons, and the named ones within them.
  const int count = choice.buttons.size() >= 3 ? 3 : 2;
  Choice asked = choice;
  asked.buttons.resize(static_cast<std::size_t>(count));
  if (asked.enterButton < 0 || asked.enterButton >= count) asked.enterButton = 0;
  if (asked.escapeButton < 0 || asked.escapeButton >= count) asked.escapeButton = count - 1;

  g_choice = ChoiceHook{};
  g_choice.choice = &asked;
  g_choice.hook = ::SetWindowsHookExA(WH_CBT, ChoiceCbtProc, nullptr, ::GetCurrentThreadId());
  const UINT buttons = count == 3 ? MB_YESNOCANCEL : MB_YESNO;
  const UINT defaults[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
  const int result = ::MessageBoxA(Owner(), asked.text.c_str(), "確認",
                                   buttons | MB_ICONQUESTION | defaults[asked.enterButton] | kBoxFlags);
  if (g_choice.hook) ::UnhookWindowsHookEx(g_choice.hook);
  g_choice = ChoiceHook{};
  switch (result) {
    case IDYES: return 0;
    case IDNO: return 1;
    case kThirdButtonId: return 2;
    default: return asked.escapeButton;  // the box could not be shown
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
