#include "ui/controls/label.h"

#include "ui/controls/gdi.h"

DWORD Label::Style(const ControlDescription& row) const {
  return SS_NOPREFIX | ((row.options & kAlignRight) ? SS_RIGHT : SS_LEFT);
}

void Label::SetText(std::wstring_view text) {
  Control::SetText(text);
  if (!(options_ & kAutoSize) || text.empty()) return;
  SIZE extent{};
  {
    WindowDc dc(hwnd_);
    SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
  }
  // Back to 96-DPI units, rounded up so the text never gets clipped.
  const int width = (extent.cx * kDesignDpi + dpi() - 1) / dpi();
  Bounds b = bounds();
  if (options_ & kAlignRight) b.left = b.right() - width;
  b.width = width;
  SetBounds(b);
  ApplyGeometry(dpi());
  InvalidateRect(hwnd_, nullptr, TRUE);
}
