#include "ui/controls/tooltip.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>

Tooltip::Tooltip(HWND owner, HWND control, std::wstring_view text) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  hwnd_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) throw std::runtime_error("Cannot create a tooltip");
  TTTOOLINFOW tool{};
  // The size without the lpReserved member that comctl32 version 6 added:
  // version 5, which a tool without a manifest gets, refuses the larger one.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  // The control itself is the tool; the tooltip watches its mouse messages.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  // The tooltip keeps a copy of its own.
  std::wstring copy(text);
  tool.lpszText = copy.data();
  if (!SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    DestroyWindow(hwnd_);
    throw std::runtime_error("Cannot add a tooltip");
  }
}

Tooltip::~Tooltip() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}
