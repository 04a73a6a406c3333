#include "http/detail/exchange.h"

#include <algorithm>
#include <cctype>

#include "http/detail/socket_error.h"
#include "http/detail/socket_ops.h"
#include "http/detail/tls_check.h"
#include "http/http_error.h"

namespace {

bool Mentions(std::string_view text, std::string_view word) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  return std::search(text.begin(), text.end(), word.begin(), word.end(),
                     [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

}  // namespace

Exchange::Exchange(CURL* easy, HttpEvents& events, OutputSink& sink, const HttpSettings& settings,
                   ConnectionState& connection, const UrlParts& url, std::int32_t& redirects,
                   std::function<void()> dropConnection)
    : easy_(easy),
      events_(events),
      settings_(settings),
      connection_(connection),
      url_(url),
      redirects_(redirects),
      dropConnection_(std::move(dropConnection)),
      body_(events, sink, settings.errorBodyLimit) {}

void Exchange::Status(HttpStatus status, const std::string& text) { events_.OnStatus(status, text); }

bool Exchange::ResolverStarting() {
  if (guard_.failed()) return false;
  return guard_.Run([&] {
    if (url_.HostIsNumeric()) return;
    Status(HttpStatus::Resolving, "Resolving hostname " + url_.host + ".");
  });
}

curl_socket_t Exchange::OpenSocket(const curl_sockaddr& address) {
  if (guard_.failed()) return CURL_SOCKET_BAD;
  if (!guard_.Run([&] { Status(HttpStatus::Connecting, "Connecting to " + NumericAddress(address) + "."); })) {
    return CURL_SOCKET_BAD;
  }
  connecting_ = OpenSocketFor(address);
  return connecting_;
}

bool Exchange::RequestStarting() {
  if (guard_.failed()) return false;
  // A retry on a new connection starts the reply afresh.
  head_ = ResponseHead();
  requestSent_ = true;
  Touch();
  requestStart_ = lastData_;
  if (connecting_ == CURL_SOCKET_BAD) return true;  // a kept connection
  // Checked once per connection, after the handshake and before a byte of
  // the request: a refused server never sees the request.
  if (url_.scheme == "https") {
    if (std::optional<std::string> problem = CertificateProblem(easy_, url_.host)) {
      guard_.Fail(std::make_exception_ptr(HttpError(CertificateRefused(url_.host, *problem))));
      return false;
    }
  }
  connection_.open = connecting_;
  connection_.origin = url_;
  connecting_ = CURL_SOCKET_BAD;
  return guard_.Run([&] {
    Status(HttpStatus::Connected, "Connected.");
    events_.OnConnected();
  });
}

bool Exchange::HeaderLine(std::string_view line) {
  if (guard_.failed()) return false;
  Touch();
  const bool wasComplete = head_.complete();
  head_.Take(line);
  if (wasComplete || !head_.complete()) return true;
  return guard_.Run([&] { HeadComplete(); });
}

void Exchange::HeadComplete() {
  if (head_.lengthInvalid()) throw HttpError(kInvalidContentLength);
  ResponseBody::Destination destination = ResponseBody::Destination::Memory;
  if (head_.IsRedirect()) {
    DecideRedirect();
    destination = ResponseBody::Destination::Discard;
  } else if (head_.status() >= 200 && head_.status() <= 299) {
    verdict_ = Verdict::Success;
    destination = ResponseBody::Destination::Sink;
  } else {
    verdict_ = Verdict::Refuse;
  }
  if (!head_.HasBody()) return;
  if (head_.chunked()) Status(HttpStatus::StatusText, "Chunk Started");
  // A thrown-away body that lasts until the close shows no progress.
  const bool reportWork = destination != ResponseBody::Destination::Discard || !head_.BodyUntilClose();
  body_.Begin(destination, head_.contentLength().value_or(0), reportWork);
}

void Exchange::DecideRedirect() {
  ++redirects_;
  std::string dest = *head_.location();
  std::int32_t number = redirects_;
  bool handled = settings_.handleRedirects;
  std::string method = "GET";
  events_.OnRedirect(dest, number, handled, method);
  if (!handled || redirects_ >= settings_.redirectMaximum) {
    verdict_ = Verdict::Refuse;
    return;
  }
  if (method != "GET") throw HttpError("Unsupported redirect method: " + method);
  next_ = ResolveLocation(url_.url, dest);
  // libcurl would send credentials in a location on to the new host as
  // Basic authorization; the installer needs none, so such a site is not
  // followed at all.
  if (next_.userInfo) throw HttpError(kCredentialsInLocation + BoundedServerText(dest));
  if (next_.scheme != "http" && next_.scheme != "https") {
    verdict_ = Verdict::UnknownScheme;
  } else if (url_.scheme == "https" && next_.scheme == "http") {
    verdict_ = Verdict::Insecure;
    refusedLocation_ = dest;
  } else {
    verdict_ = Verdict::Follow;
  }
  // A connection serves one scheme, host and port: close it once this
  // response is read rather than keep it for a server not asked again.
  if (verdict_ != Verdict::Follow || !next_.SameOrigin(url_)) {
    curl_easy_setopt(easy_, CURLOPT_FORBID_REUSE, 1L);
  }
}

bool Exchange::BodyBlock(const char* data, std::size_t size) {
  if (guard_.failed()) return false;
  Touch();
  return guard_.Run([&] { body_.Take(data, size); });
}

bool Exchange::StillWaiting() {
  if (guard_.failed()) return false;
  if (!requestSent_) return true;  // connecting has its own time-out
  const auto now = std::chrono::steady_clock::now();
  const bool headLate = !head_.complete() && now - requestStart_ >= settings_.headTimeout;
  if (now - lastData_ < settings_.readTimeout && !headLate) return true;
  guard_.Fail(std::make_exception_ptr(HttpError(kReadTimedOut)));
  return false;
}

bool Exchange::Idle() {
  if (!StillWaiting()) return false;
  return guard_.Run([&] {
    if (settings_.idle) settings_.idle();
  });
}

void Exchange::SocketClosed(curl_socket_t socket) {
  if (socket == connecting_) {  // a connect that failed: never announced
    connecting_ = CURL_SOCKET_BAD;
    return;
  }
  if (socket != connection_.open) return;
  connection_.open = CURL_SOCKET_BAD;
  if (requestSent_ && head_.started()) {
    closedAfterReply_ = true;
    return;
  }
  // Found closed by the server before this request, or closed before any
  // byte of the reply (libcurl then retries on a new connection).
  requestSent_ = false;
  guard_.Run([&] { Status(HttpStatus::Disconnected, "Disconnected."); });
}

void Exchange::ReportClose(bool byClient, bool bodyComplete) {
  if (byClient) {
    guard_.Run([&] { body_.End(bodyComplete); });
    guard_.Run([&] { Status(HttpStatus::Disconnecting, "Disconnecting."); });
    guard_.Run([&] { events_.OnDisconnected(); });
    guard_.Run([&] { Status(HttpStatus::Disconnected, "Disconnected."); });
  } else {
    guard_.Run([&] { Status(HttpStatus::Disconnected, "Disconnected."); });
    guard_.Run([&] { body_.End(bodyComplete); });
  }
}

std::optional<UrlParts> Exchange::Finish(CURLcode code, std::string_view detail) {
  // The OS error is never reset between transfers: it only means something
  // after a failed connect, send or receive.
  long osError = 0;
  curl_easy_getinfo(easy_, CURLINFO_OS_ERRNO, &osError);
  curl_easy_setopt(easy_, CURLOPT_FORBID_REUSE, 0L);
  const bool stoppedByUs = guard_.failed();
  if (requestSent_ && !head_.complete() && connection_.open != CURL_SOCKET_BAD) {
    // A reply that broke off inside its head can end without an error and
    // leave libcurl holding the connection; the server has closed it.
    dropConnection_();
    closedAfterReply_ = true;
  }
  const bool bodyComplete = code == CURLE_OK && !stoppedByUs && head_.complete();
  if (closedAfterReply_) {
    // The client closes after a whole response it may not keep, or after
    // stopping a transfer; anything else means the server closed first.
    const bool byClient = stoppedByUs || (bodyComplete && !head_.BodyUntilClose());
    ReportClose(byClient, bodyComplete);
  } else {
    guard_.Run([&] { body_.End(bodyComplete); });
  }
  guard_.RethrowIfFailed();
  ThrowTransferError(code, osError, detail, head_.started() && !head_.complete(), url_.host);
  if (!head_.complete()) throw HttpError(kConnectionClosedGracefully);
  switch (verdict_) {
    case Verdict::Success:
      return std::nullopt;
    case Verdict::Follow:
      return next_;
    case Verdict::Insecure:
      throw HttpError(kInsecureRedirect + BoundedServerText(refusedLocation_));
    case Verdict::UnknownScheme:
      throw HttpError("Unknown Protocol");
    case Verdict::Refuse:
    case Verdict::Pending:
      break;
  }
  throw HttpProtocolError(head_.statusLine(), head_.status(), std::move(body_.memory()));
}

void ThrowTransferError(CURLcode code, long osError, std::string_view detail, bool inHead, const std::string& host) {
  // libcurl fails a response it cannot parse as a receive error, or as
  // out of memory when one header line passes its limit. Those are faults
  // of the response, not of the connection: the OS error left from an
  // earlier transfer must not turn them into a reset.
  if ((code == CURLE_OUT_OF_MEMORY && inHead) || (code == CURLE_RECV_ERROR && Mentions(detail, "header"))) {
    throw HttpError(kResponseHeaderTooLarge);
  }
  if (code == CURLE_RECV_ERROR && Mentions(detail, "chunk")) throw HttpError(kInvalidChunkedEncoding);
  switch (code) {
    case CURLE_OK:
    case CURLE_PARTIAL_FILE:  // a body cut short is the work end's verdict, not an error
      return;
    case CURLE_COULDNT_RESOLVE_HOST:
      throw HttpSocketError(kHostNotFound);
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR: {
      if (osError != 0) throw HttpSocketError(WinsockCodeFromOsError(osError));
      if (code == CURLE_COULDNT_CONNECT) throw HttpSocketError(kConnectionRefused);
      if (code == CURLE_OPERATION_TIMEDOUT) throw HttpSocketError(kConnectionTimedOut);
      // With neither an OS error nor a text of libcurl's, the TLS layer
      // found the stream ended without TLS's own close (Schannel says so
      // only in its verbose output): the server closed, and the body, if
      // any, is cut short, which the work end reports. Nobody reset
      // anything: a reset is named only when libcurl says so, and
      // otherwise its own text stands.
      if (code == CURLE_RECV_ERROR && detail.empty()) return;
      if (detail.empty() || Mentions(detail, "reset")) throw HttpSocketError(kConnectionReset);
      throw HttpError(BoundedServerText(std::string(detail)));
    }
    case CURLE_GOT_NOTHING:
      throw HttpError(kConnectionClosedGracefully);
    // libcurl's text of a TLS failure carries the platform's own: the TLS
    // library's reason, or Schannel's code with its system message.
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
      throw HttpError(CertificateRefused(host, detail.empty() ? curl_easy_strerror(code) : std::string(detail)));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CIPHER:
    case CURLE_USE_SSL_FAILED:
      throw HttpError(HandshakeFailed(host, detail.empty() ? curl_easy_strerror(code) : std::string(detail)));
    default:
      throw HttpError(curl_easy_strerror(code));
  }
}
