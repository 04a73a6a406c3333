// The window's HTTP client: one GET at a time of an http or https URL into an
// output, following redirects itself and reporting every step through
// HttpEvents on the calling thread. It keeps one connection open between
// GETs for reuse, and the cookies it received for as long as it lives.
//
// Get returns when the body has arrived (or, cut short, when the server has
// closed), and throws HttpError otherwise; see http_error.h for the texts.
// libcurl stays behind this header: its parts live under http/detail.
#pragma once

#include <memory>
#include <string>

#include "http/http_events.h"
#include "http/http_settings.h"
#include "http/output_sink.h"

class HttpClient {
 public:
  explicit HttpClient(HttpEvents& events);
  // Closes a kept connection without reporting it.
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  HttpSettings& settings();

  // One GET of `url` (http or https; a server's certificate must be
  // trusted by the platform and name its host); the body of the final 2xx response goes
  // to `output`. Not re-entrant: a Get from inside an event handler throws.
  void Get(const std::string& url, OutputSink& output);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// libcurl's global state, set up for as long as the object lives. The
// program makes one in its entry point, while it runs a single thread,
// before any HttpClient exists and past the last one.
class HttpLibrary {
 public:
  HttpLibrary();
  ~HttpLibrary();
  HttpLibrary(const HttpLibrary&) = delete;
  HttpLibrary& operator=(const HttpLibrary&) = delete;
};
