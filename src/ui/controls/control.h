// Base of the typed control wrappers: one child window created from one row
// of the window description. The window procedure owns the handle's life (a
// child dies with its parent); the wrapper keeps the row's geometry at
// 96 DPI and places the window at the form's current DPI.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "system/win32.h"
#include "ui/layout.h"
#include "ui/window_description.h"

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  // Creates the child window for `row`; `container` is the control the row's
  // geometry is relative to (nullptr: the client area).
  void Create(HWND parent, const ControlDescription& row, const Control* container);

  HWND hwnd() const { return hwnd_; }
  int id() const { return id_; }
  std::wstring_view name() const { return name_; }

  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  // Written only when it changes. Disabling the control that has the focus
  // first hands the focus on to the next tab stop, as a disabled window
  // would otherwise leave the keyboard with nowhere to go.
  virtual void SetEnabled(bool enabled);
  // Hands the focus, if this control has it, to the next tab stop.
  void PassFocusOn();

  std::wstring Text() const;
  virtual void SetText(std::wstring_view text);

  // Geometry at 96 DPI, relative to the container.
  const Bounds& bounds() const { return bounds_; }
  void SetTop(int top);
  // Geometry at 96 DPI, relative to the client area.
  Bounds ClientBounds() const;
  // Places the window for `dpi`; later moves use the same DPI.
  virtual void ApplyGeometry(int dpi);

  bool HasFocus() const;

  // A notification of this control reached its window (WM_COMMAND).
  virtual void Command(int code) { (void)code; }
  // The control is owner-drawn and due to be painted (WM_DRAWITEM).
  virtual void Draw(const DRAWITEMSTRUCT& item) const { (void)item; }
  // `member` is placed relative to this control and belongs to it.
  virtual void Adopt(Control& member) { (void)member; }

 protected:
  virtual const wchar_t* ClassName() const = 0;
  virtual DWORD Style(const ControlDescription& row) const = 0;
  virtual DWORD ExStyle() const { return 0; }
  virtual void AfterCreate(const ControlDescription&) {}
  int dpi() const { return dpi_; }
  void SetBounds(const Bounds& bounds) { bounds_ = bounds; }

  HWND hwnd_ = nullptr;

 private:
  std::wstring_view name_;
  int id_ = 0;
  Bounds bounds_;
  const Control* container_ = nullptr;
  int dpi_ = kDesignDpi;
};
