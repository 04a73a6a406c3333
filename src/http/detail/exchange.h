// One request and its response within a GET: what libcurl's callbacks
// report, turned into the client's events, and the outcome once
// curl_easy_perform has returned. libcurl may retry the request once on a
// new connection when a kept one died before any reply; that stays inside
// one Exchange.
#pragma once

#include "http/detail/callback_guard.h"
#include "http/detail/response_body.h"
#include "http/detail/response_head.h"
#include "http/detail/url_parts.h"
#include "http/http_events.h"
#include "http/http_settings.h"
#include "http/output_sink.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The connection the client holds between requests, as far as it has been
// announced to the owner (status "Connected." and the connected event).
struct ConnectionState {
  curl_socket_t open = CURL_SOCKET_BAD;
  UrlParts origin;  // scheme, host and port it serves
};

// The error a failed transfer ends with: libcurl's code, the OS error it
// saw (0 for none), its own text of the failure, and whether the response
// head had begun but not ended; `host` is the server's, named by TLS
// failures. Returns for a code that is no error of its own (a body cut
// short is the work end's verdict).
void ThrowTransferError(CURLcode code, long osError, std::string_view detail, bool inHead, const std::string& host);

class Exchange {
 public:
  Exchange(CURL* easy, HttpEvents& events, OutputSink& sink, const HttpSettings& settings, ConnectionState& connection,
           const UrlParts& url, std::int32_t& redirects, std::function<void()> dropConnection);

  // libcurl callbacks; false (or CURL_SOCKET_BAD) stops the transfer.
  bool ResolverStarting();
  curl_socket_t OpenSocket(const curl_sockaddr& address);
  bool RequestStarting();
  bool HeaderLine(std::string_view line);
  bool BodyBlock(const char* data, std::size_t size);
  // Between two turns of the transfer: the time-outs, then the owner's
  // idle work. False stops the transfer.
  bool Idle();
  // `socket` has just been closed.
  void SocketClosed(curl_socket_t socket);

  // After curl_easy_perform: reports what was left (work end, the close of
  // the connection), then throws the GET's error, or gives the URL of the
  // redirect to follow, or nothing when the GET is done.
  // `detail` is libcurl's own text of the failure (its error buffer).
  std::optional<UrlParts> Finish(CURLcode code, std::string_view detail);

 private:
  enum class Verdict { Pending, Success, Follow, Refuse, Insecure, UnknownScheme };

  // The time-outs: false, with "Read timed out." recorded, once one ran out.
  bool StillWaiting();
  void HeadComplete();
  void DecideRedirect();
  void ReportClose(bool byClient, bool bodyComplete);
  void Status(HttpStatus status, const std::string& text);
  void Touch() { lastData_ = std::chrono::steady_clock::now(); }

  CURL* easy_;
  HttpEvents& events_;
  const HttpSettings& settings_;
  ConnectionState& connection_;
  const UrlParts& url_;
  std::int32_t& redirects_;
  // Closes the kept connection without reporting it.
  std::function<void()> dropConnection_;

  CallbackGuard guard_;
  ResponseHead head_;
  ResponseBody body_;
  Verdict verdict_ = Verdict::Pending;
  UrlParts next_;
  std::string refusedLocation_;  // of an insecure redirect, as received
  // A socket being connected, not yet announced.
  curl_socket_t connecting_ = CURL_SOCKET_BAD;
  bool requestSent_ = false;
  // The announced connection closed after the reply began; who closed it is
  // decided once the transfer's result is known.
  bool closedAfterReply_ = false;
  std::chrono::steady_clock::time_point lastData_;
  std::chrono::steady_clock::time_point requestStart_;
};
