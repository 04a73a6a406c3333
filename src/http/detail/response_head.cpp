#include "http/detail/response_head.h"

#include <cctype>
#include <limits>

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The last comma-separated token of a header value.
std::string_view LastToken(std::string_view value) {
  std::size_t comma = value.rfind(',');
  return Trim(comma == std::string_view::npos ? value : value.substr(comma + 1));
}

// Decimal digits only, and no more than a file can hold (2^63 - 1 bytes).
std::optional<std::int64_t> ParseLength(std::string_view value) {
  if (value.empty()) return std::nullopt;
  constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
  std::int64_t length = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    const int digit = c - '0';
    if (length > (kLargest - digit) / 10) return std::nullopt;
    length = length * 10 + digit;
  }
  return length;
}

}  // namespace

void ResponseHead::Take(std::string_view line) {
  if (line.substr(0, 5) == "HTTP/") {
    TakeStatusLine(line);
    return;
  }
  if (!started_) return;
  if (Trim(line).empty()) {
    // The end of an interim 1xx head: the final status line comes next.
    if (status_ >= 200) complete_ = true;
    return;
  }
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  TakeField(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
}

void ResponseHead::TakeStatusLine(std::string_view line) {
  *this = ResponseHead();
  started_ = true;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  statusLine_ = std::string(line);
  std::size_t blank = line.find(' ');
  if (blank != std::string_view::npos && line.size() >= blank + 4) {
    std::string_view code = line.substr(blank + 1, 3);
    if (ParseLength(code)) status_ = static_cast<int>(*ParseLength(code));
  }
}

void ResponseHead::TakeField(std::string_view name, std::string_view value) {
  if (EqualNoCase(name, "Content-Length")) {
    const std::optional<std::int64_t> length = ParseLength(value);
    // A length that is no number, or one that contradicts an earlier one,
    // leaves no way to tell where the body ends.
    if (!length || (contentLength_ && *contentLength_ != *length)) lengthInvalid_ = true;
    if (!contentLength_) contentLength_ = length;
  } else if (EqualNoCase(name, "Transfer-Encoding")) {
    chunked_ = EqualNoCase(LastToken(value), "chunked");
  } else if (EqualNoCase(name, "Location")) {
    location_ = std::string(value);
  }
}

bool ResponseHead::HasBody() const {
  if (status_ == 204 || status_ == 304 || (status_ >= 100 && status_ < 200)) return false;
  if (chunked_) return true;
  return !contentLength_ || *contentLength_ > 0;
}

bool ResponseHead::IsRedirect() const {
  return status_ >= 300 && status_ <= 399 && status_ != 304 && location_.has_value();
}
