#include "system/connectivity.h"

bool IsInternetAvailable(const std::wstring& url, const InternetProbe& probe) {
  std::uint32_t flags = 0;
  // A failed call may leave bits behind; they mean nothing then.
  if (!probe.ConnectedState(flags)) return false;
  constexpr std::uint32_t counted = kInternetConnectionModem | kInternetConnectionLan | kInternetConnectionProxy;
  if ((flags & counted) == 0) return false;
  if (url.empty()) return true;
  return probe.CheckConnection(url, kForceConnection);
}
