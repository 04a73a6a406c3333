#include "http/http_error.h"

#include "http/detail/socket_error.h"

HttpSocketError::HttpSocketError(int code)
    : HttpError("Socket Error # " + std::to_string(code) + "\r\n" + WinsockErrorText(code)), code_(code) {}

std::string BoundedServerText(const std::string& text) {
  // Counted in characters: a UTF-8 sequence is never split. Bytes that are
  // no UTF-8 count one each, as the log shows them.
  std::size_t characters = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (characters == kServerTextShown) return text.substr(0, at) + "\u2026";
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    ++characters;
  }
  return text;
}

std::string CertificateRefused(const std::string& host, const std::string& reason) {
  return "The certificate of " + host + " was refused: " + BoundedServerText(reason);
}

std::string HandshakeFailed(const std::string& host, const std::string& reason) {
  return "No secure connection to " + host + ": " + BoundedServerText(reason);
}
