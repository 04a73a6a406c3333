#include "system/sha256.h"

std::wstring HexDigest(const Sha256Digest& digest) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  text.reserve(digest.size() * 2);
  for (const unsigned char byte : digest) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0f]);
  }
  return text;
}
