// The application's own window: invisible (no area), captioned with the
// application title, and owner of the main window. Its caption is what the
// taskbar shows for the tool, while the main window's title bar shows the
// window's own caption.
#pragma once

#include <windows.h>

#include "ui/window/window.h"

class ApplicationWindow final : public Window {
 public:
  explicit ApplicationWindow(const wchar_t* title);
  ~ApplicationWindow() override;

  HWND hwnd() const { return Handle(); }
  // The taskbar entry appears with the main window.
  void Show() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
