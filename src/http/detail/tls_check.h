// The server certificate check of our own, run on every new https
// connection after the handshake and before the request is sent.
//
// With OpenSSL (the native build) libcurl has verified the chain and the
// host name during the handshake, so there is nothing left to do. Schannel
// verifies on Windows too, but Wine's Schannel completes a handshake with
// any certificate; so on Windows the client asks the platform itself:
// a chain built for server authentication that ends in a trusted root, and
// the SSL policy for the host name.
#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Nothing when the certificate of the connection `easy` has just made to
// `host` is trusted; otherwise the platform's text of why not.
std::optional<std::string> CertificateProblem(CURL* easy, const std::string& host);

// The certificate error (an HRESULT such as CERT_E_UNTRUSTEDROOT) that
// stands for a chain's trust status (CERT_TRUST_* bits); 0 when the status
// has no error that counts. Revocation that could not be checked does not
// count: revocation is best effort. Wine reports a chain whose root is not
// trusted as partial, with a clean policy status, so this status is what
// refuses it.
std::uint32_t TrustStatusError(std::uint32_t errorStatus);

// Windows' own text (winerror.h) of the certificate errors this check
// gives, for where the system has none to give (Wine's message table
// lacks them); empty for any other code.
std::string_view CertificateErrorText(std::uint32_t code);
