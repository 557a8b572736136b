#include "ui/win32/common_controls.h"

namespace quandrel::win32 {

namespace {

using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
using SubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
using DefSubclassFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

struct Library {
  HMODULE module = nullptr;
  SubclassFn subclass = nullptr;
  DefSubclassFn defSubclass = nullptr;
};

// Cast through a plain function pointer type: GetProcAddress's own one
// takes no arguments.
template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const Library& Loaded() {
  static const Library library = [] {
    Library l;
    // By name, so that the manifest's version is the one loaded; a name
    // never comes from the program's folder once the search is restricted
    // to the system directory at start.
    l.module = LoadLibraryA("comctl32.dll");  // kept for the process's life
    if (!l.module) return l;
    if (InitFn init = Export<InitFn>(l.module, "InitCommonControlsEx")) {
      INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
      init(&icc);
    }
    l.subclass = Export<SubclassFn>(l.module, "SetWindowSubclass");
    l.defSubclass = Export<DefSubclassFn>(l.module, "DefSubclassProc");
    return l;
  }();
  return library;
}

}  // namespace

bool LoadCommonControls() { return Loaded().module != nullptr; }

bool SubclassControl(HWND control, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  const Library& l = Loaded();
  return l.subclass && l.defSubclass && l.subclass(control, proc, id, data);
}

LRESULT DefaultSubclassProc(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const Library& l = Loaded();
  return l.defSubclass ? l.defSubclass(control, msg, wp, lp) : DefWindowProcA(control, msg, wp, lp);
}

}  // namespace quandrel::win32
