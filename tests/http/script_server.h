// A scripted HTTP server on 127.0.0.1 for the client's tests: each accepted
// connection plays the next script of exact steps (read a request, send
// bytes, pause, close, reset), so a test controls every byte and every
// split the client sees. Builds with Winsock as well as BSD sockets; in the
// native build it can speak TLS (OpenSSL) with a given certificate.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct Step {
  enum class Kind { Read, Send, Pause, Close, Drop, Reset } kind;
  std::string bytes;
  int milliseconds = 0;
};

inline Step ReadRequest() { return {Step::Kind::Read, {}, 0}; }
inline Step Send(std::string bytes) { return {Step::Kind::Send, std::move(bytes), 0}; }
inline Step Pause(int milliseconds) { return {Step::Kind::Pause, {}, milliseconds}; }
// Orderly close (FIN).
inline Step Close() { return {Step::Kind::Close, {}, 0}; }
// The socket closed with no word inside TLS (no close_notify), as when a
// server dies or someone on the way cuts the stream; over plain http the
// same as Close.
inline Step Drop() { return {Step::Kind::Drop, {}, 0}; }
// Abortive close (RST) through SO_LINGER with a zero time-out.
inline Step Reset() { return {Step::Kind::Reset, {}, 0}; }

// One connection's steps. A script that ends without Close or Reset keeps
// the connection open until the client closes it.
using ConnectionScript = std::vector<Step>;

class ScriptServer {
 public:
  ScriptServer();  // listens on an ephemeral port at once
#ifdef MPI_SCRIPT_SERVER_TLS
  // Every connection is TLS, with the certificate and key in `identityPem`
  // (one PEM file). The steps then speak of the bytes inside TLS; a client
  // that gives up during the handshake ends its connection's script.
  explicit ScriptServer(const std::string& identityPem);
#endif
  ~ScriptServer();
  ScriptServer(const ScriptServer&) = delete;
  ScriptServer& operator=(const ScriptServer&) = delete;

  int port() const { return port_; }
  // Starts answering; connection N plays scripts[N], later ones are closed.
  void Play(std::vector<ConnectionScript> scripts);

  // Every request head received (up to and including the empty line), in order.
  std::vector<std::string> requests() const;
  int accepted() const { return accepted_; }

 private:
  using Socket = std::intptr_t;
  void AcceptLoop();
  class Channel;
  void Serve(Socket connection, const ConnectionScript& script);
  bool ReadHead(Channel& channel, std::string& pending);
  void WaitForClientClose(Channel& channel);
  void Sleep(int milliseconds) const;

  Socket listener_;
  void* tls_ = nullptr;  // OpenSSL's SSL_CTX when the server speaks TLS
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  std::vector<ConnectionScript> scripts_;
  std::thread acceptor_;
  std::vector<std::thread> connections_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

// A loopback port where nothing listens.
int ClosedPort();
