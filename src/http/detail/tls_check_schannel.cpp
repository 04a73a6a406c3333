#include "http/detail/tls_check.h"

#define SECURITY_WIN32
#include <windows.h>
// windows.h first: the security headers build on its types.
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include <cstdio>
#include <memory>

#include "common/utf8.h"
#include "system/win32.h"

namespace {

struct CertificateFree {
  void operator()(const CERT_CONTEXT* certificate) const { CertFreeCertificateContext(certificate); }
};
struct ChainFree {
  void operator()(const CERT_CHAIN_CONTEXT* chain) const { CertFreeCertificateChain(chain); }
};

// The system's text of a certificate or security code, with the code, as
// the user or a helper would look it up: "<text> (0x800B0109)".
std::string ReasonText(std::uint32_t code) {
  std::wstring text = SystemMessageText(code).value_or(std::wstring());
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
  std::string reason = Utf8(text);
  if (reason.empty()) reason = CertificateErrorText(code);
  if (reason.empty()) return std::string("certificate error ") + hex;
  return reason + " (" + hex + ")";
}

}  // namespace

std::optional<std::string> CertificateProblem(CURL* easy, const std::string& host) {
  curl_tlssessioninfo* session = nullptr;
  if (curl_easy_getinfo(easy, CURLINFO_TLS_SSL_PTR, &session) != CURLE_OK || session == nullptr ||
      session->backend != CURLSSLBACKEND_SCHANNEL || session->internals == nullptr) {
    return ReasonText(static_cast<std::uint32_t>(SEC_E_CERT_UNKNOWN));
  }
  const CERT_CONTEXT* received = nullptr;
  const SECURITY_STATUS status =
      QueryContextAttributesW(static_cast<CtxtHandle*>(session->internals), SECPKG_ATTR_REMOTE_CERT_CONTEXT, &received);
  std::unique_ptr<const CERT_CONTEXT, CertificateFree> certificate(received);
  if (status != SEC_E_OK || !certificate) {
    return ReasonText(static_cast<std::uint32_t>(status != SEC_E_OK ? status : SEC_E_CERT_UNKNOWN));
  }

  char serverAuthentication[] = szOID_PKIX_KP_SERVER_AUTH;
  LPSTR usages[] = {serverAuthentication};
  CERT_CHAIN_PARA chainPara{};
  chainPara.cbSize = sizeof chainPara;
  chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
  chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  // The intermediates the server sent are in the certificate's own store.
  const CERT_CHAIN_CONTEXT* built = nullptr;
  if (!CertGetCertificateChain(nullptr, certificate.get(), nullptr, certificate->hCertStore, &chainPara, 0, nullptr,
                               &built)) {
    return ReasonText(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(GetLastError())));
  }
  std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainFree> chain(built);
  if (std::uint32_t error = TrustStatusError(chain->TrustStatus.dwErrorStatus)) return ReasonText(error);

  std::wstring serverName = WideFromUtf8(host).value_or(std::wstring());
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA extra{};
  extra.cbSize = sizeof extra;
  extra.dwAuthType = AUTHTYPE_SERVER;
  extra.pwszServerName = serverName.data();
  CERT_CHAIN_POLICY_PARA policyPara{};
  policyPara.cbSize = sizeof policyPara;
  policyPara.pvExtraPolicyPara = &extra;
  CERT_CHAIN_POLICY_STATUS policyStatus{};
  policyStatus.cbSize = sizeof policyStatus;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policyPara, &policyStatus)) {
    return ReasonText(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(GetLastError())));
  }
  if (policyStatus.dwError != 0) return ReasonText(policyStatus.dwError);
  return std::nullopt;
}
