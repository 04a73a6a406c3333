// The HTTP client's workings over one libcurl easy handle: options, the
// callbacks that feed the current Exchange, and the kept connection.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "http/detail/curl_handles.h"
#include "http/detail/exchange.h"
#include "http/http_client.h"
#include "http/http_events.h"
#include "http/http_settings.h"
#include "http/output_sink.h"

class HttpClient::Impl {
 public:
  explicit Impl(HttpEvents& events);
  // Closes a kept connection without reporting it.
  ~Impl();
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  HttpSettings& settings() { return settings_; }

  // One GET of `url` (http or https); the body of the final 2xx response goes
  // to `output`. Not re-entrant: a Get from inside an event handler throws.
  void Get(const std::string& url, OutputSink& output);

 private:
  void Configure();
  // Closes the kept connection by replacing the easy handle, reporting it
  // as the client's own close.
  void Disconnect();
  // Replaces the easy handle, which closes its connections; cookies stay
  // in the share.
  void RenewHandle();
  // Runs the transfer in turns of at most settings_.idleInterval, so that
  // the owner's idle work and the time-outs run while the server is slow.
  CURLcode Transfer(Exchange& exchange);
  std::optional<UrlParts> RunExchange(const UrlParts& url, std::int32_t& redirects, OutputSink& output);

  static int OnResolverStart(void* resolverState, void* reserved, void* client);
  static curl_socket_t OnOpenSocket(void* client, curlsocktype purpose, curl_sockaddr* address);
  static int OnCloseSocket(void* client, curl_socket_t socket);
  static int OnPrerequest(void* client, char* primaryIp, char* localIp, int primaryPort, int localPort);
  static size_t OnHeader(char* data, size_t size, size_t count, void* client);
  static size_t OnBody(char* data, size_t size, size_t count, void* client);

  HttpEvents& events_;
  HttpSettings settings_;
  // libcurl's own text of the last failure, to tell its causes apart;
  // declared before the handles that write into it, so it outlives them.
  std::array<char, CURL_ERROR_SIZE> errorText_{};
  ConnectionState connection_;
  // Cookies live in the share: they outlive an easy handle replaced to
  // close its connection.
  CurlShare share_;
  CurlSlist headers_;
  // The connection cache lives in the multi handle; both are replaced
  // together to close the kept connection.
  CurlMulti multi_;
  CurlEasy easy_;
  Exchange* current_ = nullptr;
};
