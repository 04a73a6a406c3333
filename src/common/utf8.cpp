#include "common/utf8.h"

#include <cstddef>

namespace {

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

std::optional<std::wstring> WideFromUtf8(std::string_view bytes) {
  std::u32string points;
  if (!DecodeUtf8(bytes, points)) return std::nullopt;
  std::wstring text;
  for (char32_t point : points) AppendWide(text, point);
  return text;
}
