#include "app/application_window.h"

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
  // A visible window of no size: it shows in the taskbar and nowhere else.
  CreateHandle({kClassName}, {.caption = title,
                              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                              .position = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2},
                              .size = {0, 0}});
}

ApplicationWindow::~ApplicationWindow() {
  DestroyHandle();
  UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}

void ApplicationWindow::Show() const { ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
    case WM_SETFOCUS:
      // Activated through the taskbar or Alt+Tab: hand over to the window
      // the user works in.
      if (message == WM_SETFOCUS || LOWORD(wParam) != WA_INACTIVE) {
        if (HWND popup = ActivePopup(Handle())) SetActiveWindow(popup);
      }
      return 0;
    case WM_CLOSE:
      // "Close window" on the taskbar entry closes the main window, which
      // ends the tool the same way its own close box does.
      if (HWND popup = ActivePopup(Handle())) PostMessageW(popup, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}
