// A tooltip for one control: the text shows when the mouse rests on it.
#pragma once

#include <windows.h>

#include <string_view>

class Tooltip {
 public:
  // `owner` is the window the control lives in; the tooltip goes with it.
  Tooltip(HWND owner, HWND control, std::wstring_view text);
  ~Tooltip();
  Tooltip(const Tooltip&) = delete;
  Tooltip& operator=(const Tooltip&) = delete;

  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};
