// The application's own window: invisible (no area), captioned with the
// application title, and owner of the main window. Its caption is what the
// taskbar shows for the tool, while the main window's title bar shows the
// window's own caption.
#pragma once

#include <windows.h>

class ApplicationWindow {
 public:
  explicit ApplicationWindow(const wchar_t* title);
  ~ApplicationWindow();
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The taskbar entry appears with the main window.
  void Show() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};
