// The parts of a URL that decide connections and redirects.
#pragma once

#include <string>

struct UrlParts {
  std::string url;        // normalised full URL
  std::string scheme;     // lower case
  std::string host;       // as in the URL, without brackets
  long port = 0;          // the scheme's default when the URL names none
  bool userInfo = false;  // a user name or password before the host

  // Same scheme, host and port: a kept connection may serve both.
  bool SameOrigin(const UrlParts& other) const;
  // An IP literal rather than a name that needs looking up.
  bool HostIsNumeric() const;
};

// Parses an absolute URL; throws HttpError when it is not one.
UrlParts ParseUrl(const std::string& url);

// `location` resolved against `base` as a browser would: a location without
// scheme and host keeps those of `base`. Throws HttpError when unusable.
UrlParts ResolveLocation(const std::string& base, const std::string& location);
