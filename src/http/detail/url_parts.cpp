#include "http/detail/url_parts.h"

#include "http/detail/curl_handles.h"
#include "http/http_error.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

// Any scheme is parsed so that an https location can be recognised and
// refused by its own rule instead of failing as an unparsable URL.
constexpr unsigned int kParseFlags = CURLU_NON_SUPPORT_SCHEME;

std::string Part(CURLU* handle, CURLUPart part, unsigned int flags = 0) {
  char* text = nullptr;
  if (curl_url_get(handle, part, &text, flags) != CURLUE_OK || text == nullptr) return {};
  std::string result(text);
  curl_free(text);
  return result;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

UrlParts PartsOf(CURLU* handle, const std::string& original) {
  UrlParts parts;
  parts.url = Part(handle, CURLUPART_URL);
  parts.scheme = Lower(Part(handle, CURLUPART_SCHEME));
  parts.host = Part(handle, CURLUPART_HOST);
  if (parts.host.size() >= 2 && parts.host.front() == '[' && parts.host.back() == ']') {
    parts.host = parts.host.substr(1, parts.host.size() - 2);
  }
  // The default ports are our own: libcurl knows only those of the
  // protocols it was built with, and this build has no https.
  std::string port = Part(handle, CURLUPART_PORT);
  if (!port.empty()) {
    parts.port = std::strtol(port.c_str(), nullptr, 10);
  } else if (parts.scheme == "http") {
    parts.port = 80;
  } else if (parts.scheme == "https") {
    parts.port = 443;
  }
  parts.userInfo = !Part(handle, CURLUPART_USER).empty() || !Part(handle, CURLUPART_PASSWORD).empty();
  if (parts.url.empty() || parts.host.empty()) throw HttpError("Invalid URL: " + BoundedServerText(original));
  return parts;
}

CurlUrl NewUrl() {
  CurlUrl handle(curl_url());
  if (!handle) throw std::bad_alloc();
  return handle;
}

}  // namespace

bool UrlParts::SameOrigin(const UrlParts& other) const {
  return scheme == other.scheme && Lower(host) == Lower(other.host) && port == other.port;
}

bool UrlParts::HostIsNumeric() const {
  if (host.find(':') != std::string::npos) return true;  // IPv6 literal
  return !host.empty() &&
         std::all_of(host.begin(), host.end(), [](unsigned char c) { return std::isdigit(c) || c == '.'; });
}

UrlParts ParseUrl(const std::string& url) {
  CurlUrl handle = NewUrl();
  if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), kParseFlags) != CURLUE_OK) {
    throw HttpError("Invalid URL: " + url);
  }
  return PartsOf(handle.get(), url);
}

UrlParts ResolveLocation(const std::string& base, const std::string& location) {
  CurlUrl handle = NewUrl();
  // Setting a URL on a handle that holds one resolves it relative to it.
  if (curl_url_set(handle.get(), CURLUPART_URL, base.c_str(), kParseFlags) != CURLUE_OK ||
      curl_url_set(handle.get(), CURLUPART_URL, location.c_str(), kParseFlags | CURLU_URLENCODE) != CURLUE_OK) {
    throw HttpError("Invalid redirect location: " + location);
  }
  return PartsOf(handle.get(), location);
}
