#include "system/connectivity.h"

#include <future>
#include <system_error>
#include <thread>
#include <utility>

bool IsInternetAvailable(const std::wstring& url, const InternetProbe& probe) {
  std::uint32_t flags = 0;
  // A failed call may leave bits behind; they mean nothing then.
  if (!probe.ConnectedState(flags)) return false;
  constexpr std::uint32_t counted = kInternetConnectionModem | kInternetConnectionLan | kInternetConnectionProxy;
  if ((flags & counted) == 0) return false;
  if (url.empty()) return true;
  return probe.CheckConnection(url, kForceConnection);
}

bool IsInternetAvailableWhileAlive(std::wstring url, std::shared_ptr<const InternetProbe> probe,
                                   const std::function<void()>& keepAlive, std::chrono::milliseconds interval) {
  auto check = std::make_shared<std::packaged_task<bool()>>(
      [url = std::move(url), probe = std::move(probe)] { return IsInternetAvailable(url, *probe); });
  std::future<bool> answer = check->get_future();
  try {
    std::thread([check] { (*check)(); }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: ask here, as the window did before.
    (*check)();
  }
  if (keepAlive) {
    while (answer.wait_for(interval) != std::future_status::ready) keepAlive();
  }
  return answer.get();
}
