// Owns one Win32 handle and closes it exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace quandrel::win32 {

// Traits: the handle type, its "no handle" value and how to close it.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, Traits::Invalid()));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return h_; }
  bool valid() const { return h_ != Traits::Invalid() && h_ != nullptr; }
  explicit operator bool() const { return valid(); }
  Handle release() { return std::exchange(h_, Traits::Invalid()); }
  // Closes the handle now; false when closing failed (for a file that was
  // written, a failed close can mean lost data).
  bool reset(Handle h = Traits::Invalid()) {
    bool ok = true;
    if (valid()) ok = Traits::Close(h_);
    h_ = h;
    return ok;
  }

 private:
  Handle h_ = Traits::Invalid();
};

struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }
};
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return ::FindClose(h) != FALSE; }
};
struct KeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return ::RegCloseKey(h) == ERROR_SUCCESS; }
};

using FileHandle = UniqueHandle<FileTraits>;
using KernelHandle = UniqueHandle<KernelTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using KeyHandle = UniqueHandle<KeyTraits>;

}  // namespace quandrel::win32
