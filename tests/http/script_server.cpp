#include "script_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_t = int;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef MPI_SCRIPT_SERVER_TLS
#include <openssl/err.h>
#include <openssl/ssl.h>

#include <csignal>
#endif

#include <chrono>
#include <stdexcept>

namespace {

#ifdef _WIN32
using Native = SOCKET;
constexpr int kSendFlags = 0;
void CloseNative(Native s) { closesocket(s); }
#else
using Native = int;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that left must not kill the test
void CloseNative(Native s) { close(s); }
#endif

Native N(std::intptr_t s) { return static_cast<Native>(s); }

// Waits up to 20 ms for `s` to become readable.
bool Readable(Native s) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{0, 20000};
  return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

Native Listen(int& port) {
  Native s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 16) != 0) {
    CloseNative(s);
    throw std::runtime_error("script server: cannot listen on 127.0.0.1");
  }
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return s;
}

}  // namespace

// One accepted connection, plain or inside TLS.
class ScriptServer::Channel {
 public:
  explicit Channel(Native s) : s_(s) {}
  ~Channel() {
#ifdef MPI_SCRIPT_SERVER_TLS
    if (ssl_ != nullptr) SSL_free(ssl_);
#endif
  }
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  // False when the client gave up the handshake (a refused certificate).
  bool Start(void* tls) {
#ifdef MPI_SCRIPT_SERVER_TLS
    if (tls == nullptr) return true;
    ssl_ = SSL_new(static_cast<SSL_CTX*>(tls));
    SSL_set_fd(ssl_, static_cast<int>(s_));
    if (SSL_accept(ssl_) == 1) return true;
    ERR_clear_error();
    return false;
#else
    static_cast<void>(tls);
    return true;
#endif
  }
  bool Readable() const {
#ifdef MPI_SCRIPT_SERVER_TLS
    if (ssl_ != nullptr && SSL_pending(ssl_) > 0) return true;
#endif
    return ::Readable(s_);
  }
  int Send(const char* data, int size) {
#ifdef MPI_SCRIPT_SERVER_TLS
    if (ssl_ != nullptr) return SSL_write(ssl_, data, size);
#endif
    return static_cast<int>(send(s_, data, size, kSendFlags));
  }
  int Receive(char* data, int size) {
#ifdef MPI_SCRIPT_SERVER_TLS
    if (ssl_ != nullptr) return SSL_read(ssl_, data, size);
#endif
    return static_cast<int>(recv(s_, data, size, 0));
  }
  // Orderly close; inside TLS the close_notify goes first.
  void Close() {
#ifdef MPI_SCRIPT_SERVER_TLS
    if (ssl_ != nullptr) SSL_shutdown(ssl_);
#endif
    CloseNative(s_);
  }
  Native socket() const { return s_; }

 private:
  Native s_;
#ifdef MPI_SCRIPT_SERVER_TLS
  SSL* ssl_ = nullptr;
#endif
};

#ifdef MPI_SCRIPT_SERVER_TLS
ScriptServer::ScriptServer(const std::string& identityPem) : ScriptServer() {
  // OpenSSL writes with plain send(): a client that has refused the
  // certificate and left must not kill the test with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  if (context == nullptr || SSL_CTX_use_certificate_chain_file(context, identityPem.c_str()) != 1 ||
      SSL_CTX_use_PrivateKey_file(context, identityPem.c_str(), SSL_FILETYPE_PEM) != 1) {
    SSL_CTX_free(context);
    CloseNative(N(listener_));
    throw std::runtime_error("script server: cannot load " + identityPem);
  }
  tls_ = context;
}
#endif

ScriptServer::ScriptServer() {
#ifdef _WIN32  // Winsock counts its users: this server is one until it ends
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
#endif
  listener_ = static_cast<Socket>(Listen(port_));
}

ScriptServer::~ScriptServer() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& connection : connections_) connection.join();
  CloseNative(N(listener_));
#ifdef MPI_SCRIPT_SERVER_TLS
  SSL_CTX_free(static_cast<SSL_CTX*>(tls_));
#endif
#ifdef _WIN32
  WSACleanup();
#endif
}

void ScriptServer::Play(std::vector<ConnectionScript> scripts) {
  scripts_ = std::move(scripts);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

std::vector<std::string> ScriptServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void ScriptServer::AcceptLoop() {
  std::size_t next = 0;
  while (!stopping_) {
    if (!Readable(N(listener_))) continue;
    Native connection = accept(N(listener_), nullptr, nullptr);
    if (connection == static_cast<Native>(-1)) continue;
    ++accepted_;
    int on = 1;
    setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    ConnectionScript script = next < scripts_.size() ? scripts_[next] : ConnectionScript{Close()};
    ++next;
    connections_.emplace_back([this, connection, script] { Serve(static_cast<Socket>(connection), script); });
  }
}

void ScriptServer::Serve(Socket connection, const ConnectionScript& script) {
  Channel channel(N(connection));
  if (!channel.Start(tls_)) {
    CloseNative(channel.socket());
    return;
  }
  std::string pending;
  for (const Step& step : script) {
    switch (step.kind) {
      case Step::Kind::Read:
        if (!ReadHead(channel, pending)) {
          channel.Close();
          return;
        }
        break;
      case Step::Kind::Send:
        for (std::size_t sent = 0; sent < step.bytes.size();) {
          int n = channel.Send(step.bytes.data() + sent, static_cast<int>(step.bytes.size() - sent));
          if (n <= 0) break;
          sent += static_cast<std::size_t>(n);
        }
        break;
      case Step::Kind::Pause:
        Sleep(step.milliseconds);
        break;
      case Step::Kind::Close:
        channel.Close();
        return;
      case Step::Kind::Drop:
        CloseNative(channel.socket());
        return;
      case Step::Kind::Reset: {
        linger abortive{};
        abortive.l_onoff = 1;
        abortive.l_linger = 0;
        setsockopt(channel.socket(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive), sizeof abortive);
        CloseNative(channel.socket());
        return;
      }
    }
  }
  WaitForClientClose(channel);
  CloseNative(channel.socket());
}

bool ScriptServer::ReadHead(Channel& channel, std::string& pending) {
  while (!stopping_) {
    std::size_t end = pending.find("\r\n\r\n");
    if (end != std::string::npos) {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(pending.substr(0, end + 4));
      pending.erase(0, end + 4);
      return true;
    }
    if (!channel.Readable()) continue;
    char buffer[4096];
    int got = channel.Receive(buffer, sizeof buffer);
    if (got <= 0) return false;
    pending.append(buffer, static_cast<std::size_t>(got));
  }
  return false;
}

void ScriptServer::WaitForClientClose(Channel& channel) {
  char buffer[4096];
  while (!stopping_) {
    if (!channel.Readable()) continue;
    if (channel.Receive(buffer, sizeof buffer) <= 0) return;
  }
}

void ScriptServer::Sleep(int milliseconds) const {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!stopping_ && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int ClosedPort() {
#ifdef _WIN32
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
#endif
  int port = 0;
  CloseNative(Listen(port));
#ifdef _WIN32
  WSACleanup();
#endif
  return port;
}
