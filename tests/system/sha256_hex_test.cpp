// The digest's text: what a user compares with a published checksum.
#include "system/sha256.h"

#include <gtest/gtest.h>

namespace {

TEST(HexDigestTest, WritesEveryByteAsTwoLowerCaseDigitsHighNibbleFirst) {
  Sha256Digest digest{};
  digest[0] = 0x0f;
  digest[1] = 0xf0;
  digest[2] = 0xab;
  digest[31] = 0x9c;
  EXPECT_EQ(HexDigest(digest), L"0ff0ab" + std::wstring(56, L'0') + L"9c");
}

}  // namespace
