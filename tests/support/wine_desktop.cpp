#include "wine_desktop.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "system/win32.h"

namespace wine_desktop {
namespace {

std::wstring ObjectName(HANDLE object) {
  wchar_t name[256] = {};
  DWORD needed = 0;
  if (!GetUserObjectInformationW(object, UOI_NAME, name, sizeof name, &needed)) return {};
  return name;
}

// Long enough for a Wine process to start on an emulated processor that is
// making a template prefix beside it; bounded so that a broken session
// fails rather than hangs.
constexpr DWORD kManagerStartMilliseconds = 180'000;

}  // namespace

bool WaitUntilReady() {
  // Asking for the names does not need the desktop window, so it does not
  // start the manager with Wine's own short wait.
  const std::wstring station = ObjectName(GetProcessWindowStation());
  const std::wstring desktop = ObjectName(GetThreadDesktop(GetCurrentThreadId()));
  if (station.empty() || desktop.empty()) {
    std::fprintf(stderr, "wine_desktop: the process has no window station or desktop, error %lu\n", GetLastError());
    return false;
  }
  std::wstring fullName = station + L"\\" + desktop;
  std::wstring commandLine = L"C:\\windows\\system32\\explorer.exe /desktop";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = fullName.data();
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    std::fprintf(stderr, "wine_desktop: cannot start the desktop's manager, error %lu\n", GetLastError());
    return false;
  }
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  // Idle is what Wine itself waits for: the manager has made the desktop
  // window and loaded the display driver. A manager that ends instead ends
  // the wait too, and the probe below tells whether the desktop works.
  if (WaitForInputIdle(process.get(), kManagerStartMilliseconds) == WAIT_TIMEOUT) {
    std::fprintf(stderr, "wine_desktop: the desktop's manager did not get ready within %lu s\n",
                 kManagerStartMilliseconds / 1000);
    return false;
  }
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (probe == nullptr) {
    std::fprintf(stderr, "wine_desktop: the desktop has no display driver: no window can be created, error %lu\n",
                 GetLastError());
    return false;
  }
  DestroyWindow(probe);
  return true;
}

}  // namespace wine_desktop
