// SHA-256 by Windows' CNG provider, against published test vectors.
#include "system/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Vector {
  const char* name;
  std::string message;
  std::size_t piece;  // fed in pieces of this size, so that the state carries over
  const wchar_t* digest;
};

TEST(Sha256Test, GivesThePublishedDigests) {
  const Vector vectors[] = {
      {"empty", "", 1, L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "abc", 3, L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"two blocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 7,
       L"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"a million a", std::string(1000000, 'a'), 65537,
       L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.name);
    Sha256 hash;
    for (std::size_t at = 0; at < v.message.size(); at += v.piece) {
      hash.Update(v.message.data() + at, std::min(v.piece, v.message.size() - at));
    }
    EXPECT_EQ(HexDigest(hash.Finish()), v.digest);
  }
}

}  // namespace
