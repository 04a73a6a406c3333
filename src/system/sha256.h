// SHA-256 by Windows' own CNG provider, for proving that what a medium gives
// back is what was written to it.
#pragma once

#include <array>
#include <cstddef>
#include <string>

using Sha256Digest = std::array<unsigned char, 32>;

// The digest as 64 lower-case hex digits, the way published checksums are
// written.
std::wstring HexDigest(const Sha256Digest& digest);

#ifdef _WIN32
class Sha256 {
 public:
  // Throws std::runtime_error when Windows has no SHA-256 provider.
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, std::size_t size);
  // The digest of every byte given so far; the object is spent afterwards.
  Sha256Digest Finish();

 private:
  void* algorithm_ = nullptr;
  void* hash_ = nullptr;
};
#endif
