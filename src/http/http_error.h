// Errors a GET ends with. what() is the exact text the user is shown.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Socket Error # <code>\r\n<text>" with a Winsock error code on every
// platform, so the message reads the same wherever the tool runs.
class HttpSocketError : public HttpError {
 public:
  explicit HttpSocketError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// How much of a server's text an error or log line shows; a longer text is
// cut there and "…" follows, so that no server can flood a box or the log.
inline constexpr std::size_t kServerTextShown = 1000;

// `text` (UTF-8) cut to kServerTextShown characters, with "…" after a cut.
std::string BoundedServerText(const std::string& text);

// A final response outside 2xx that is not a followed redirect. The text is
// the status line as received (bounded); the body is what was kept of the
// error page.
class HttpProtocolError : public HttpError {
 public:
  HttpProtocolError(const std::string& statusLine, int status, std::string body)
      : HttpError(BoundedServerText(statusLine)), status_(status), body_(std::move(body)) {}
  int status() const { return status_; }
  const std::string& body() const { return body_; }

 private:
  int status_;
  std::string body_;
};

// Fixed texts of the other failures.
inline constexpr char kConnectionClosedGracefully[] = "Connection Closed Gracefully.";
inline constexpr char kReadTimedOut[] = "Read timed out.";
// A response whose Content-Length is no number a file can hold, or which
// carries two that differ.
inline constexpr char kResponseHeaderTooLarge[] = "Response header too large.";
inline constexpr char kInvalidChunkedEncoding[] = "Invalid chunked encoding.";
// Followed by the Location (bounded).
inline constexpr char kCredentialsInLocation[] = "Redirect refused: the address carries a user name or password: ";
inline constexpr char kInvalidContentLength[] = "Invalid Content-Length in the response.";
// A redirect from https to plain http, followed by the Location (bounded):
// the installer must not leave the verified connection.
inline constexpr char kInsecureRedirect[] = "Redirect refused: it leaves https for plain http: ";

// The server's certificate was refused. `reason` is the platform's text of
// the certificate code (the trust provider's or the TLS library's).
std::string CertificateRefused(const std::string& host, const std::string& reason);
// No TLS session came about with `host`: it does not speak TLS on that
// port, or the handshake failed. `reason` is the platform's text of it.
std::string HandshakeFailed(const std::string& host, const std::string& reason);
