#include "system/connectivity_wininet.h"

#include <windows.h>
#include <wininet.h>

static_assert(kInternetConnectionModem == INTERNET_CONNECTION_MODEM);
static_assert(kInternetConnectionLan == INTERNET_CONNECTION_LAN);
static_assert(kInternetConnectionProxy == INTERNET_CONNECTION_PROXY);
static_assert(kForceConnection == FLAG_ICC_FORCE_CONNECTION);

bool WininetProbe::ConnectedState(std::uint32_t& flags) const {
  DWORD raw = 0;
  const BOOL ok = InternetGetConnectedState(&raw, 0);
  flags = raw;
  return ok != FALSE;
}

bool WininetProbe::CheckConnection(const std::wstring& url, std::uint32_t flags) const {
  // Blocks until the connection is made or refused, hence asked on a thread
  // of its own (IsInternetAvailableWhileAlive).
  return InternetCheckConnectionW(url.c_str(), flags, 0) != FALSE;
}

bool IsInternetAvailable(const std::wstring& url) { return IsInternetAvailable(url, WininetProbe{}); }
