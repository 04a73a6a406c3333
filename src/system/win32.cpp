#include "system/win32.h"

#include "common/utf8.h"

void UniqueHandle::reset(HANDLE handle) {
  const HANDLE old = std::exchange(handle_, handle);
  if (old == nullptr || old == INVALID_HANDLE_VALUE) return;
  const DWORD lastError = GetLastError();
  CloseHandle(old);
  SetLastError(lastError);
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::optional<std::wstring> SystemMessageText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::optional<std::wstring> message;
  if (length != 0 && buffer != nullptr) message.emplace(buffer, length);
  if (buffer != nullptr) LocalFree(buffer);
  return message;
}

std::wstring SystemMessage(DWORD code) { return SystemMessageText(code).value_or(L"Error " + std::to_wstring(code)); }

std::wstring WideText(std::string_view text) {
  if (std::optional<std::wstring> wide = WideFromUtf8(text)) return *std::move(wide);
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}
