// Helpers every Win32 part of the tool shares: an owner for kernel handles,
// a window's text, the platform's text for an error code, and wide text
// from 8-bit text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Owns one kernel handle. Both "no handle" values of the API count as
// empty: CreateFileW fails with INVALID_HANDLE_VALUE, most others with null.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return valid(); }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  // Closes the handle it holds, keeping the thread's last error, which a
  // caller may still be about to read.
  void reset(HANDLE handle = INVALID_HANDLE_VALUE);

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Text of any window, whatever its length.
std::wstring WindowText(HWND hwnd);

// The platform's text for an error code, or "Error <code>" when it has none.
std::wstring SystemMessage(DWORD code);
// The platform's own text for an error code; nothing when it has none, so a
// caller can give a text of its own.
std::optional<std::wstring> SystemMessageText(DWORD code);

// Wide form of an 8-bit text: UTF-8 when it is valid UTF-8, otherwise the
// ANSI code page's reading of it (texts of the C library and of some
// platform calls come that way).
std::wstring WideText(std::string_view text);
