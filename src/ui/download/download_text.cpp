#include "ui/download/download_text.h"

#include "common/utf8.h"
#include "http/http_error.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <optional>
#include <utility>

#if defined(_WIN32) && defined(__i386__)
#include <float.h>
#endif

namespace {

constexpr wchar_t kPercentagePrefix[] = L"Pobieram dane :";

// A platform message ends in ".\r\n" or blanks; the error text puts its own
// ending after it.
std::wstring_view TrimMessageEnd(std::wstring_view message) {
  while (!message.empty()) {
    const wchar_t last = message.back();
    if (last != L' ' && last != L'\r' && last != L'\n' && last != L'.') break;
    message.remove_suffix(1);
  }
  return message;
}

std::wstring FileErrorText(std::wstring_view verb, std::wstring_view path, std::wstring_view systemMessage) {
  std::wstring text = L"Cannot ";
  text += verb;
  text += L" file \"";
  text += path;
  text += L"\". ";
  text += TrimMessageEnd(systemMessage);
  return text;
}

// Sets round-to-nearest (and, on 32-bit x86 Windows, the x87 unit's full
// 64-bit mantissa, which a loaded DLL may have narrowed) for its lifetime,
// and puts the caller's settings back afterwards.
class NearestExtendedRounding {
 public:
  NearestExtendedRounding() : savedMode_(std::fegetround()) {
    std::fesetround(FE_TONEAREST);
#if defined(_WIN32) && defined(__i386__)
    savedPrecision_ = _controlfp(0, 0) & _MCW_PC;
    _controlfp(_PC_64, _MCW_PC);
#endif
  }
  ~NearestExtendedRounding() {
#if defined(_WIN32) && defined(__i386__)
    _controlfp(savedPrecision_, _MCW_PC);
#endif
    std::fesetround(savedMode_);
  }
  NearestExtendedRounding(const NearestExtendedRounding&) = delete;
  NearestExtendedRounding& operator=(const NearestExtendedRounding&) = delete;

 private:
  int savedMode_;
#if defined(_WIN32) && defined(__i386__)
  unsigned int savedPrecision_ = 0;
#endif
};

}  // namespace

std::wstring NoInternetAccessText(std::wstring_view fileName) {
  std::wstring text = L"Brak dostępu do internetu\r\rNie mogę pobrać ";
  text += fileName;
  return text;
}

std::wstring DownloadingLine(std::wstring_view fileName) {
  std::wstring line = L"Pobieram : ";
  line += fileName;
  return line;
}

std::wstring DownloadStartLine() { return L"Rozpoczęto pobieranie pliku"; }

std::wstring RedirectLine(std::wstring_view dest, std::wstring_view method) {
  std::wstring line(dest);
  line += L" - ";
  line += method;
  return line;
}

std::int32_t LowBits32(std::int64_t count) {
  // Well defined since C++20: conversion to a signed type is modulo 2^32.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(count)));
}

std::int64_t DownloadPercentage(std::int64_t received, std::int64_t expected) {
  NearestExtendedRounding rounding;
  // volatile keeps the arithmetic after the mode is set: the compiler may
  // not move the loads above the calls that set it.
  volatile long double quotient = static_cast<long double>(received) / static_cast<long double>(expected);
  volatile long double scaled = quotient * 100.0L;
  // nearbyint rounds by the current mode, which is to-nearest-even here;
  // std::round would take halves away from zero (12.5 -> 13).
  return static_cast<std::int64_t>(std::nearbyint(static_cast<long double>(scaled)));
}

std::int64_t ShownPercentage(std::int64_t received, std::int64_t expected) {
  return std::clamp<std::int64_t>(DownloadPercentage(received, expected), 0, 100);
}

std::wstring PercentageLine(std::int64_t percentage) {
  return std::wstring(kPercentagePrefix) + L" " + std::to_wstring(percentage) + L" %";
}

std::wstring ReceivedBytesLine(std::int64_t received) {
  return std::wstring(kPercentagePrefix) + L" " + std::to_wstring(received) + L" bytes";
}

bool IsPercentageLine(std::wstring_view line) {
  return PlatformUpperCase(line).find(PlatformUpperCase(kPercentagePrefix)) != std::wstring::npos;
}

bool DownloadSucceeded(std::int64_t expected, std::int64_t received, bool complete) {
  return complete && (expected == 0 || expected == received);
}

std::wstring DownloadEndLine(bool succeeded) {
  return std::wstring(L"Pobieranie pliku zakończone ") + (succeeded ? L"- Sukces" : L"- Niepowodzenie");
}

std::wstring CannotCreateFileText(std::wstring_view path, std::wstring_view systemMessage) {
  return FileErrorText(L"create", path, systemMessage);
}

std::wstring CannotWriteFileText(std::wstring_view path, std::wstring_view systemMessage) {
  return FileErrorText(L"write", path, systemMessage);
}

std::wstring ReceivedText(std::string_view bytes) {
  if (std::optional<std::wstring> text = WideFromUtf8(bytes)) return *std::move(text);
  std::wstring text;
  for (char byte : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
  return text;
}

std::wstring ShownServerText(std::string_view bytes) {
  std::wstring text = ReceivedText(bytes);
  if (text.size() <= kServerTextShown) return text;
  std::size_t cut = kServerTextShown;
  // Never half a surrogate pair.
  if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
  text.resize(cut);
  return text + L"\u2026";
}

std::string DownloadUrl(std::string_view siteUrl, std::wstring_view fileName) {
  std::string url(siteUrl);
  url += '/';
  url += Utf8(fileName);
  return url;
}
