// Owns one Win32 handle and closes it exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace quandrel::win32 {

template <typename Handle, BOOL(WINAPI* Close)(Handle), Handle Invalid>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Invalid)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, Invalid));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return h_; }
  bool valid() const { return h_ != Invalid && h_ != nullptr; }
  explicit operator bool() const { return valid(); }
  Handle release() { return std::exchange(h_, Invalid); }
  // Closes the handle now; false when closing failed (for a file that was
  // written, a failed close can mean lost data).
  bool reset(Handle h = Invalid) {
    BOOL ok = TRUE;
    if (valid()) ok = Close(h_);
    h_ = h;
    return ok != FALSE;
  }

 private:
  Handle h_ = Invalid;
};

inline BOOL WINAPI CloseKernelHandle(HANDLE h) { return ::CloseHandle(h); }
inline BOOL WINAPI CloseFind(HANDLE h) { return ::FindClose(h); }
inline BOOL WINAPI CloseKey(HKEY k) { return ::RegCloseKey(k) == ERROR_SUCCESS; }

using FileHandle = UniqueHandle<HANDLE, CloseKernelHandle, INVALID_HANDLE_VALUE>;
using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle, nullptr>;
using FindHandle = UniqueHandle<HANDLE, CloseFind, INVALID_HANDLE_VALUE>;
using KeyHandle = UniqueHandle<HKEY, CloseKey, nullptr>;

}  // namespace quandrel::win32
