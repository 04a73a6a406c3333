#include "app/application_window.h"

#include <stdexcept>

#include "resources/resource.h"

namespace {

constexpr wchar_t kClassName[] = L"MakePendriveInstalableApplication";

// The window the user meant when acting on the taskbar entry: the main
// window, or a message box or dialog it has open.
HWND ActivePopup(HWND application) {
  HWND popup = GetLastActivePopup(application);
  return popup != application && IsWindowEnabled(popup) ? popup : nullptr;
}

}  // namespace

ApplicationWindow::ApplicationWindow(const wchar_t* title) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
  wc.lpszClassName = kClassName;
  if (RegisterClassExW(&wc) == 0) throw std::runtime_error("Cannot register the application window class");
  // A visible window of no size: it shows in the taskbar and nowhere else.
  hwnd_ = CreateWindowExW(0, kClassName, title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                          GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                          nullptr, instance, nullptr);
  if (hwnd_ == nullptr) throw std::runtime_error("Cannot create the application window");
}

ApplicationWindow::~ApplicationWindow() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}

void ApplicationWindow::Show() const { ShowWindow(hwnd_, SW_SHOWNOACTIVATE); }

LRESULT CALLBACK ApplicationWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
    case WM_SETFOCUS:
      // Activated through the taskbar or Alt+Tab: hand over to the window
      // the user works in.
      if (message == WM_SETFOCUS || LOWORD(wParam) != WA_INACTIVE) {
        if (HWND popup = ActivePopup(hwnd)) SetActiveWindow(popup);
      }
      return 0;
    case WM_CLOSE:
      // "Close window" on the taskbar entry closes the main window, which
      // ends the tool the same way its own close box does.
      if (HWND popup = ActivePopup(hwnd)) PostMessageW(popup, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}
