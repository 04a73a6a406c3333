// What the owner of an HttpClient configures. The values that go on the
// wire (Accept, User-Agent) are the owner's; the client adds no defaults.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct HttpSettings {
  std::string accept;     // value of the Accept header
  std::string userAgent;  // value of the User-Agent header
  bool handleRedirects = true;
  // The redirect that brings a GET's count to this value is not followed,
  // so at most redirectMaximum - 1 are.
  std::int32_t redirectMaximum = 15;
  // No byte for this long while a response is awaited or read ends the GET
  // with "Read timed out." instead of blocking the caller for ever.
  std::chrono::milliseconds readTimeout{60000};
  // The whole response head must have come within this time of the
  // request, however slowly a server drips it.
  std::chrono::milliseconds headTimeout{60000};
  // Called on the calling thread at least every idleInterval while the
  // client waits: resolving, connecting, sending, waiting for the head or
  // for the next block. The owner's window keeps answering through it. It
  // may throw: the GET then stops and the exception leaves Get.
  std::function<void()> idle;
  std::chrono::milliseconds idleInterval{100};
  // How much of an error page is held in memory; the rest is read and
  // dropped so that a hostile server cannot exhaust memory.
  std::size_t errorBodyLimit = std::size_t{1024} * 1024;
};
