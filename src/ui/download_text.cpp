#include "ui/download_text.h"

#include <cfenv>
#include <cmath>

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

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes strict UTF-8 (no overlong forms, no surrogates, at most U+10FFFF);
// false when `bytes` is not that.
bool DecodeUtf8(std::string_view bytes, std::u32string& out) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t point = 0;
    if (lead < 0x80) {
      length = 1;
      point = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      point = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      point = lead & 0x07u;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (!IsContinuation(next)) return false;
      point = (point << 6) | (next & 0x3Fu);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
    out.push_back(point);
    i += length;
  }
  return true;
}

void AppendWide(std::wstring& out, char32_t point) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (point >= 0x10000) {
      point -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (point >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (point & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(point));
}

void AppendUtf8(std::string& out, char32_t point) {
  auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
  if (point < 0x80) {
    put(point);
  } else if (point < 0x800) {
    put(0xC0 | (point >> 6));
    put(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    put(0xE0 | (point >> 12));
    put(0x80 | ((point >> 6) & 0x3F));
    put(0x80 | (point & 0x3F));
  } else {
    put(0xF0 | (point >> 18));
    put(0x80 | ((point >> 12) & 0x3F));
    put(0x80 | ((point >> 6) & 0x3F));
    put(0x80 | (point & 0x3F));
  }
}

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

std::int64_t DownloadPercentage(std::int32_t received, std::int32_t expected) {
  NearestExtendedRounding rounding;
  // volatile keeps the arithmetic after the mode is set: the compiler may
  // not move the loads above the calls that set it.
  volatile long double quotient = static_cast<long double>(received) / static_cast<long double>(expected);
  volatile long double scaled = quotient * 100.0L;
  // nearbyint rounds by the current mode, which is to-nearest-even here;
  // std::round would take halves away from zero (12.5 -> 13).
  return static_cast<std::int64_t>(std::nearbyint(static_cast<long double>(scaled)));
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

bool DownloadSucceeded(std::int32_t expected, std::int32_t received, bool complete) {
  return expected != 0 ? expected == received : complete;
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
  std::u32string points;
  std::wstring text;
  if (DecodeUtf8(bytes, points)) {
    for (char32_t point : points) AppendWide(text, point);
  } else {
    for (char byte : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
  }
  return text;
}

std::string Utf8(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto point = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (point >= 0xD800 && point <= 0xDBFF && i + 1 < text.size()) {
        const auto low = static_cast<char32_t>(text[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if ((point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) point = 0xFFFD;
    AppendUtf8(out, point);
  }
  return out;
}

std::string DownloadUrl(std::string_view siteUrl, std::wstring_view fileName) {
  std::string url(siteUrl);
  url += '/';
  url += Utf8(fileName);
  return url;
}
