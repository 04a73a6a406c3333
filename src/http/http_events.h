// What the HTTP client reports while one GET runs. Every call comes
// synchronously on the thread that called HttpClient::Get, from inside it.
// A handler may throw: the GET then stops and the exception leaves Get.
#pragma once

#include <cstdint>
#include <string>

enum class HttpStatus {
  Resolving,      // "Resolving hostname %s."
  Connecting,     // "Connecting to %s."
  Connected,      // "Connected."
  Disconnecting,  // "Disconnecting."
  Disconnected,   // "Disconnected."
  StatusText,     // "Chunk Started"
};

// A GET only ever reads; the write mode exists so handlers can be written
// against the full event model.
enum class WorkMode { Read, Write };

class HttpEvents {
 public:
  // One status line of the status table.
  virtual void OnStatus(HttpStatus status, const std::string& text) = 0;
  // A new connection is open (after the "Connected." status).
  virtual void OnConnected() = 0;
  // The client closed a connection itself (between "Disconnecting." and
  // "Disconnected."). Not reported when the server closed it first.
  virtual void OnDisconnected() = 0;
  // A redirect response with a Location, before the client decides whether
  // to follow it. `dest` is the Location as sent, `numRedirect` the count
  // within this GET, `handled` whether to follow, `method` "GET". Changes
  // to `dest` and `handled` are honoured.
  virtual void OnRedirect(std::string& dest, std::int32_t& numRedirect, bool& handled, std::string& method) = 0;
  // Around every response body read or thrown away. `workCountMax` is the
  // announced length, 0 when none; `workCount` the bytes of this body so far.
  virtual void OnWorkBegin(WorkMode mode, std::int64_t workCountMax) = 0;
  virtual void OnWork(WorkMode mode, std::int64_t workCount) = 0;
  // `complete`: the body ended where its framing says (announced length
  // reached, last chunk, or the server's close for a body of unannounced
  // length); false when it was cut off or the reading failed, and for the
  // body of a final response that is not 2xx, which is not what was asked
  // for.
  virtual void OnWorkEnd(WorkMode mode, bool complete) = 0;

 protected:
  ~HttpEvents() = default;
};
