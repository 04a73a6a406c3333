// Errors a GET ends with. what() is the exact text the user is shown.
#pragma once

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

// A final response outside 2xx that is not a followed redirect. The text is
// the status line as received; the body is what was kept of the error page.
class HttpProtocolError : public HttpError {
 public:
  HttpProtocolError(const std::string& statusLine, int status, std::string body)
      : HttpError(statusLine), status_(status), body_(std::move(body)) {}
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
inline constexpr char kInvalidContentLength[] = "Invalid Content-Length in the response.";
// A redirect to https: this client has no TLS layer to hand the connection to.
inline constexpr char kNoTlsForHttps[] = "IOHandler value is not valid";
