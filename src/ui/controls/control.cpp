#include "ui/controls/control.h"

#include <stdexcept>

void Control::Create(HWND parent, const ControlDescription& row, const Control* container) {
  name_ = row.name;
  id_ = row.id;
  bounds_ = row.bounds;
  container_ = container;
  // Clipped by its siblings: the group box and the bevel lie under the
  // controls they surround and must not paint over them.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | Style(row);
  // Every stop starts its own group, so the arrow keys never move the focus
  // between unrelated controls.
  if (row.options & kTabStop) style |= WS_TABSTOP | WS_GROUP;
  if (row.options & kDisabled) style |= WS_DISABLED;
  const std::wstring caption(row.caption);
  hwnd_ = CreateWindowExW(ExStyle(), ClassName(), caption.c_str(), style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) {
    throw std::runtime_error("Cannot create the control " + std::string(row.name.begin(), row.name.end()));
  }
  AfterCreate(row);
}

void Control::SetEnabled(bool enabled) {
  if (Enabled() == enabled) return;
  if (!enabled) PassFocusOn();
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void Control::PassFocusOn() {
  if (!HasFocus()) return;
  HWND parent = GetParent(hwnd_);
  HWND next = GetNextDlgTabItem(parent, hwnd_, FALSE);
  SetFocus(next != nullptr && next != hwnd_ ? next : parent);
}

bool Control::HasFocus() const {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == hwnd_ || IsChild(hwnd_, focus));
}

std::wstring Control::Text() const { return WindowText(hwnd_); }

void Control::SetText(std::wstring_view text) {
  const std::wstring copy(text);
  SetWindowTextW(hwnd_, copy.c_str());
}

void Control::SetTop(int top) {
  bounds_.top = top;
  ApplyGeometry(dpi_);
}

Bounds Control::ClientBounds() const {
  Bounds b = bounds_;
  if (container_ != nullptr) {
    const Bounds outer = container_->ClientBounds();
    b.left += outer.left;
    b.top += outer.top;
  }
  return b;
}

void Control::ApplyGeometry(int dpi) {
  dpi_ = dpi;
  const Bounds b = ScaleToDpi(ClientBounds(), dpi);
  // The poll tick lays the window out every second; moving a control to
  // where it already is would still cost a round trip to the display.
  RECT now{};
  GetWindowRect(hwnd_, &now);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&now), 2);
  if (now.left == b.left && now.top == b.top && now.right - now.left == b.width && now.bottom - now.top == b.height) {
    return;
  }
  SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}
