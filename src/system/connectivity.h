// Whether the machine is online and, given a URL, whether that URL's host
// takes a connection. The rules are portable; the platform answers come
// through `InternetProbe`, so every combination can be played in tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Connection kinds of InternetGetConnectedState that count as being online:
// modem, LAN, proxy. Every other bit (offline, configured, RAS installed...)
// says nothing about a usable connection.
inline constexpr std::uint32_t kInternetConnectionModem = 0x01;
inline constexpr std::uint32_t kInternetConnectionLan = 0x02;
inline constexpr std::uint32_t kInternetConnectionProxy = 0x04;
// FLAG_ICC_FORCE_CONNECTION: really connect instead of trusting a cache.
inline constexpr std::uint32_t kForceConnection = 0x01;

// The two wininet questions. IsInternetAvailableWhileAlive asks them on a
// thread of its own.
class InternetProbe {
 public:
  virtual ~InternetProbe() = default;
  // InternetGetConnectedState(&flags, 0): its result, and the flags as the
  // call left them (also when it failed).
  virtual bool ConnectedState(std::uint32_t& flags) const = 0;
  // InternetCheckConnectionW(url, flags, 0) != 0.
  virtual bool CheckConnection(const std::wstring& url, std::uint32_t flags) const = 0;
};

// Online through one of the counted kinds and, unless `url` is empty, a
// connection to its host could be made.
bool IsInternetAvailable(const std::wstring& url, const InternetProbe& probe);

// The same on a thread of its own, since the host probe takes as long as a
// TCP connect: on a network that drops packets, about 21 s. `keepAlive`
// (optional) runs every `interval` until the answer is in. Whatever it
// raises leaves this function at once; the thread then finishes alone, on
// its own copy of `url` and its share of `probe`, so nothing it touches
// goes away under it.
bool IsInternetAvailableWhileAlive(std::wstring url, std::shared_ptr<const InternetProbe> probe,
                                   const std::function<void()>& keepAlive, std::chrono::milliseconds interval);

#ifdef _WIN32
// The same with the platform's answers (wininet).
bool IsInternetAvailable(const std::wstring& url);
#endif
