// The platform's error codes that the program tells apart or names in its
// tests, each named once. They are the values of Windows' ERROR_... codes,
// which the Win32 adapters check against <windows.h>.
#pragma once

#include <cstdint>

namespace quandrel::os_error {

constexpr std::uint32_t kFileNotFound = 2;       // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kPathNotFound = 3;       // ERROR_PATH_NOT_FOUND
constexpr std::uint32_t kAccessDenied = 5;       // ERROR_ACCESS_DENIED
constexpr std::uint32_t kNotSameDevice = 17;     // ERROR_NOT_SAME_DEVICE: a move to another volume
constexpr std::uint32_t kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr std::uint32_t kLockViolation = 33;     // ERROR_LOCK_VIOLATION
constexpr std::uint32_t kFileExists = 80;        // ERROR_FILE_EXISTS
constexpr std::uint32_t kDiskFull = 112;         // ERROR_DISK_FULL
constexpr std::uint32_t kAlreadyExists = 183;    // ERROR_ALREADY_EXISTS
constexpr std::uint32_t kFilenameTooLong = 206;  // ERROR_FILENAME_EXCED_RANGE: longer than the file functions take

}  // namespace quandrel::os_error
