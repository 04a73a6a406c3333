// The status line and the headers of one response, as they arrive line by
// line. Only what decides the body, the redirect and the connection is kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class ResponseHead {
 public:
  // One line as libcurl hands it to the header callback, line end included.
  void Take(std::string_view line);

  // Any byte of a status line has arrived.
  bool started() const { return started_; }
  // The empty line after a final (non-1xx) status has arrived. A status line
  // followed by a cut header is not complete, whatever libcurl returns.
  bool complete() const { return complete_; }

  const std::string& statusLine() const { return statusLine_; }
  int status() const { return status_; }
  std::optional<std::int64_t> contentLength() const { return contentLength_; }
  // A Content-Length that is no decimal number a file can hold, or two that
  // differ: the body's end cannot be known.
  bool lengthInvalid() const { return lengthInvalid_; }
  bool chunked() const { return chunked_; }
  const std::optional<std::string>& location() const { return location_; }

  // 204, 304 and an announced length of 0 carry no body.
  bool HasBody() const;
  // A body without length or chunks: it lasts until the server closes.
  bool BodyUntilClose() const { return HasBody() && !chunked_ && !contentLength_; }
  // 3xx except 304 with a Location header.
  bool IsRedirect() const;

 private:
  void TakeStatusLine(std::string_view line);
  void TakeField(std::string_view name, std::string_view value);

  bool started_ = false;
  bool complete_ = false;
  std::string statusLine_;
  int status_ = 0;
  std::optional<std::int64_t> contentLength_;
  bool lengthInvalid_ = false;
  bool chunked_ = false;
  std::optional<std::string> location_;
};
