// Owners of the GDI and USER objects the windows make: each is deleted once,
// when its owner goes (in the manner of WIL's unique_any policies).
#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace quandrel::win32 {

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return ::DeleteObject(h) != FALSE; }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return ::DestroyIcon(h) != FALSE; }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return ::DeleteDC(h) != FALSE; }
};

using FontHandle = UniqueHandle<GdiObjectTraits<HFONT>>;
using BrushHandle = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using PenHandle = UniqueHandle<GdiObjectTraits<HPEN>>;
using BitmapHandle = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using IconHandle = UniqueHandle<IconTraits>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// The screen's device context, for measuring text, released when it goes.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a device context and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace quandrel::win32
