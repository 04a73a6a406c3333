#include "http/detail/client_impl.h"

#include "http/detail/socket_ops.h"
#include "http/http_error.h"

#include <new>
#include <stdexcept>

namespace {

void Check(CURLcode code) {
  if (code != CURLE_OK) throw HttpError(curl_easy_strerror(code));
}

}  // namespace

HttpClient::Impl::Impl(HttpEvents& events)
    : events_(events), share_(curl_share_init()), multi_(curl_multi_init()), easy_(curl_easy_init()) {
  if (!share_ || !multi_ || !easy_) throw std::bad_alloc();
  curl_share_setopt(share_.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  Configure();
}

HttpClient::Impl::~Impl() {
  // The close callback of the kept connection finds no exchange and stays quiet.
  current_ = nullptr;
  easy_.reset();
  multi_.reset();
}

void HttpClient::Impl::Configure() {
  CURL* easy = easy_.get();
  Check(curl_easy_setopt(easy, CURLOPT_SHARE, share_.get()));
  Check(curl_easy_setopt(easy, CURLOPT_COOKIEFILE, ""));  // cookies on, none loaded
  Check(curl_easy_setopt(easy, CURLOPT_PROXY, ""));       // ignore proxy environment variables
  Check(curl_easy_setopt(easy, CURLOPT_IPRESOLVE, static_cast<long>(CURL_IPRESOLVE_V4)));
  Check(curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)));
  // Redirects are followed and counted here, with their events.
  Check(curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L));
  Check(curl_easy_setopt(easy, CURLOPT_FAILONERROR, 0L));
  Check(curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https"));
  Check(curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"));
  // The peer and its host name are verified (libcurl's defaults, kept
  // explicit); see tls_check.h for the check of our own.
  Check(curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L));
  Check(curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L));
#ifdef _WIN32
  // A revocation server out of reach (a strict company network) must not
  // stop the download; a certificate known to be revoked still does.
  Check(curl_easy_setopt(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT)));
#endif
  // Every new connection looks its host up, so each one reports it.
  Check(curl_easy_setopt(easy, CURLOPT_DNS_CACHE_TIMEOUT, 0L));
  Check(curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L));
  Check(curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText_.data()));
  // Fewer, larger receives: each one is a system call (under Wine a round
  // trip more), and the installer is megabytes. Write callbacks still carry
  // at most 16 KiB each.
  Check(curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 512L * 1024L));

  Check(curl_easy_setopt(easy, CURLOPT_RESOLVER_START_FUNCTION, &Impl::OnResolverStart));
  Check(curl_easy_setopt(easy, CURLOPT_RESOLVER_START_DATA, this));
  Check(curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, &Impl::OnOpenSocket));
  Check(curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, this));
  Check(curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, &Impl::OnCloseSocket));
  Check(curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, this));
  Check(curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Impl::OnPrerequest));
  Check(curl_easy_setopt(easy, CURLOPT_PREREQDATA, this));
  Check(curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Impl::OnHeader));
  Check(curl_easy_setopt(easy, CURLOPT_HEADERDATA, this));
  Check(curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Impl::OnBody));
  Check(curl_easy_setopt(easy, CURLOPT_WRITEDATA, this));
}

void HttpClient::Impl::Disconnect() {
  CallbackGuard guard;
  guard.Run([&] { events_.OnStatus(HttpStatus::Disconnecting, "Disconnecting."); });
  guard.Run([&] { events_.OnDisconnected(); });
  RenewHandle();
  guard.Run([&] { events_.OnStatus(HttpStatus::Disconnected, "Disconnected."); });
  guard.RethrowIfFailed();
}

void HttpClient::Impl::RenewHandle() {
  CurlEasy fresh(curl_easy_init());
  CurlMulti freshMulti(curl_multi_init());
  if (!fresh || !freshMulti) throw std::bad_alloc();
  easy_ = std::move(fresh);
  // Closes the connections the old cache kept.
  multi_ = std::move(freshMulti);
  Configure();
}

void HttpClient::Impl::Get(const std::string& url, OutputSink& output) {
  if (current_ != nullptr) throw HttpError("The HTTP client is busy with another request.");
  // Accept before User-Agent: libcurl keeps the order of its header list.
  CurlSlist headers;
  for (const std::string& line : {"Accept: " + settings_.accept, "User-Agent: " + settings_.userAgent}) {
    curl_slist* longer = curl_slist_append(headers.get(), line.c_str());
    if (longer == nullptr) throw std::bad_alloc();
    // The old head is part of `longer` now: hand it over, do not free it.
    static_cast<void>(headers.release());
    headers.reset(longer);
  }
  headers_ = std::move(headers);

  UrlParts current = ParseUrl(url);
  std::int32_t redirects = 0;
  while (std::optional<UrlParts> next = RunExchange(current, redirects, output)) {
    current = std::move(*next);
  }
}

std::optional<UrlParts> HttpClient::Impl::RunExchange(const UrlParts& url, std::int32_t& redirects,
                                                      OutputSink& output) {
  // One connection at a time: a kept one to another server goes first.
  if (connection_.open != CURL_SOCKET_BAD && !connection_.origin.SameOrigin(url)) Disconnect();
  Exchange exchange(easy_.get(), events_, output, settings_, connection_, url, redirects, [this] { RenewHandle(); });
  Check(curl_easy_setopt(easy_.get(), CURLOPT_HTTPHEADER, headers_.get()));
  Check(curl_easy_setopt(easy_.get(), CURLOPT_URL, url.url.c_str()));
  // Connecting and the TLS handshake have the same bound as any other wait
  // for the server.
  Check(curl_easy_setopt(easy_.get(), CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.readTimeout.count())));
  current_ = &exchange;
  errorText_[0] = '\0';
  const CURLcode code = Transfer(exchange);
  current_ = nullptr;
  return exchange.Finish(code, errorText_.data());
}

CURLcode HttpClient::Impl::Transfer(Exchange& exchange) {
  CURLM* multi = multi_.get();
  if (curl_multi_add_handle(multi, easy_.get()) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
  const long interval = static_cast<long>(settings_.idleInterval.count());
  CURLcode code = CURLE_OK;
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      code = CURLE_OUT_OF_MEMORY;
      break;
    }
    if (running == 0) {
      int left = 0;
      while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE) code = message->data.result;
      }
      break;
    }
    curl_multi_poll(multi, nullptr, 0, static_cast<int>(interval), nullptr);
    if (!exchange.Idle()) {
      code = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
  }
  // A transfer stopped half-way closes its connection here.
  curl_multi_remove_handle(multi, easy_.get());
  return code;
}

int HttpClient::Impl::OnResolverStart(void*, void*, void* client) {
  Exchange* exchange = static_cast<Impl*>(client)->current_;
  return exchange == nullptr || exchange->ResolverStarting() ? 0 : 1;
}

curl_socket_t HttpClient::Impl::OnOpenSocket(void* client, curlsocktype purpose, curl_sockaddr* address) {
  Exchange* exchange = static_cast<Impl*>(client)->current_;
  if (purpose != CURLSOCKTYPE_IPCXN || exchange == nullptr) return CURL_SOCKET_BAD;
  return exchange->OpenSocket(*address);
}

int HttpClient::Impl::OnCloseSocket(void* client, curl_socket_t socket) {
  CloseSocket(socket);
  if (Exchange* exchange = static_cast<Impl*>(client)->current_) {
    exchange->SocketClosed(socket);
  } else if (socket == static_cast<Impl*>(client)->connection_.open) {
    static_cast<Impl*>(client)->connection_.open = CURL_SOCKET_BAD;
  }
  return 0;
}

int HttpClient::Impl::OnPrerequest(void* client, char*, char*, int, int) {
  Exchange* exchange = static_cast<Impl*>(client)->current_;
  return exchange == nullptr || exchange->RequestStarting() ? CURL_PREREQFUNC_OK : CURL_PREREQFUNC_ABORT;
}

size_t HttpClient::Impl::OnHeader(char* data, size_t size, size_t count, void* client) {
  Exchange* exchange = static_cast<Impl*>(client)->current_;
  const size_t bytes = size * count;
  return exchange != nullptr && exchange->HeaderLine({data, bytes}) ? bytes : 0;
}

size_t HttpClient::Impl::OnBody(char* data, size_t size, size_t count, void* client) {
  Exchange* exchange = static_cast<Impl*>(client)->current_;
  const size_t bytes = size * count;
  return exchange != nullptr && exchange->BodyBlock(data, bytes) ? bytes : 0;
}

HttpClient::HttpClient(HttpEvents& events) : impl_(std::make_unique<Impl>(events)) {}

HttpClient::~HttpClient() = default;

HttpSettings& HttpClient::settings() { return impl_->settings(); }

void HttpClient::Get(const std::string& url, OutputSink& output) { impl_->Get(url, output); }

HttpLibrary::HttpLibrary() {
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw std::runtime_error("Cannot initialise libcurl");
}

HttpLibrary::~HttpLibrary() { curl_global_cleanup(); }
