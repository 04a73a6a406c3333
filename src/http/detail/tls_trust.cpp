#include "http/detail/tls_check.h"

namespace {

// wincrypt.h's values, here so that the mapping is tested natively too.
struct TrustBit {
  std::uint32_t bit;
  std::uint32_t error;
};

// In order of what a user can act on first: a clock or an expired
// certificate, then a revoked or forged one, then one of the wrong kind,
// then one nobody vouches for.
constexpr TrustBit kTrustBits[] = {
    {0x00000001, 0x800B0101},  // IS_NOT_TIME_VALID: CERT_E_EXPIRED
    {0x00000004, 0x80092010},  // IS_REVOKED: CRYPT_E_REVOKED
    {0x00000008, 0x80096004},  // IS_NOT_SIGNATURE_VALID: TRUST_E_CERT_SIGNATURE
    {0x00000010, 0x800B0110},  // IS_NOT_VALID_FOR_USAGE: CERT_E_WRONG_USAGE
    {0x00000020, 0x800B0109},  // IS_UNTRUSTED_ROOT: CERT_E_UNTRUSTEDROOT
    {0x00010000, 0x800B010A},  // IS_PARTIAL_CHAIN: CERT_E_CHAINING
    {0x00000080, 0x800B010A},  // IS_CYCLIC: CERT_E_CHAINING
};

constexpr std::uint32_t kRevocationUnknown = 0x00000040;    // REVOCATION_STATUS_UNKNOWN
constexpr std::uint32_t kOfflineRevocation = 0x01000000;    // IS_OFFLINE_REVOCATION
constexpr std::uint32_t kGenericTrustFailure = 0x800B010B;  // TRUST_E_FAIL

}  // namespace

std::uint32_t TrustStatusError(std::uint32_t errorStatus) {
  const std::uint32_t counted = errorStatus & ~(kRevocationUnknown | kOfflineRevocation);
  if (counted == 0) return 0;
  for (const TrustBit& entry : kTrustBits) {
    if ((counted & entry.bit) != 0) return entry.error;
  }
  return kGenericTrustFailure;
}

std::string_view CertificateErrorText(std::uint32_t code) {
  switch (code) {
    case 0x800B0101:  // CERT_E_EXPIRED
      return "A required certificate is not within its validity period when verifying against the current system "
             "clock or the timestamp in the signed file.";
    case 0x800B0109:  // CERT_E_UNTRUSTEDROOT
      return "A certificate chain processed, but terminated in a root certificate which is not trusted by the trust "
             "provider.";
    case 0x800B010A:  // CERT_E_CHAINING
      return "A certificate chain could not be built to a trusted root authority.";
    case 0x800B010B:  // TRUST_E_FAIL
      return "Generic trust failure.";
    case 0x800B010F:  // CERT_E_CN_NO_MATCH
      return "The certificate's CN name does not match the passed value.";
    case 0x800B0110:  // CERT_E_WRONG_USAGE
      return "The certificate is not valid for the requested usage.";
    case 0x80092010:  // CRYPT_E_REVOKED
      return "The certificate is revoked.";
    case 0x80096004:  // TRUST_E_CERT_SIGNATURE
      return "The signature of the certificate cannot be verified.";
    case 0x80090327:  // SEC_E_CERT_UNKNOWN
      return "An unknown error occurred while processing the certificate.";
    default:
      return {};
  }
}
