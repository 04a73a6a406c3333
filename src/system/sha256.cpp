#include "system/sha256.h"

#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <algorithm>
#include <stdexcept>

namespace {

void Check(NTSTATUS status, const char* step) {
  if (status < 0) throw std::runtime_error(std::string("SHA-256: ") + step + " failed");
}

}  // namespace

Sha256::Sha256() {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  Check(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0), "BCryptOpenAlgorithmProvider");
  algorithm_ = algorithm;
  BCRYPT_HASH_HANDLE hash = nullptr;
  const NTSTATUS created = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0);
  if (created < 0) {
    BCryptCloseAlgorithmProvider(algorithm, 0);
    Check(created, "BCryptCreateHash");
  }
  hash_ = hash;
}

Sha256::~Sha256() {
  if (hash_ != nullptr) BCryptDestroyHash(static_cast<BCRYPT_HASH_HANDLE>(hash_));
  if (algorithm_ != nullptr) BCryptCloseAlgorithmProvider(static_cast<BCRYPT_ALG_HANDLE>(algorithm_), 0);
}

void Sha256::Update(const void* data, std::size_t size) {
  auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
  while (size != 0) {
    const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(size, 0x40000000u));
    Check(BCryptHashData(static_cast<BCRYPT_HASH_HANDLE>(hash_), bytes, piece, 0), "BCryptHashData");
    bytes += piece;
    size -= piece;
  }
}

Sha256Digest Sha256::Finish() {
  Sha256Digest digest{};
  Check(BCryptFinishHash(static_cast<BCRYPT_HASH_HANDLE>(hash_), digest.data(), static_cast<ULONG>(digest.size()), 0),
        "BCryptFinishHash");
  return digest;
}
