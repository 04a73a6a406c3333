// Push button with an optional glyph left of its caption. Drawn by the
// button itself (owner draw) so the glyph and caption sit centred as a pair;
// the dialog manager still sees a push button, so Enter, Space, the access
// key and the default frame behave as on a standard button.
#pragma once

#include <functional>

#include "ui/controls/control.h"
#include "ui/controls/gdi.h"

class Button : public Control {
 public:
  // The user pressed the button (click, Space, Enter, Esc or the access
  // key). These reach the window without asking whether the button is
  // enabled; a disabled button is never pressed.
  std::function<void()> OnClick;
  // Decides whether this button shows the default frame (and takes Enter).
  std::function<bool(const Button&)> ShowsDefaultFrame;
  // Any focus change among the buttons may move the default frame.
  std::function<void()> FocusChanged;

  // Loads a glyph strip of two pictures (enabled | disabled); without the
  // resource the button simply has no glyph.
  void LoadGlyph(HINSTANCE instance, int resourceId);
  bool HasGlyph() const { return glyph_ != nullptr; }

  // A button that shows only its glyph still needs a name for screen
  // readers: `name` becomes its window text, which they read, and the
  // button goes on drawing no caption.
  void SetAccessibleName(std::wstring_view name);

  void Command(int code) override;
  void Draw(const DRAWITEMSTRUCT& item) const override;
  void Redraw() const { InvalidateRect(hwnd_, nullptr, FALSE); }

 protected:
  const wchar_t* ClassName() const override { return L"BUTTON"; }
  DWORD Style(const ControlDescription&) const override { return BS_OWNERDRAW; }
  void AfterCreate(const ControlDescription& row) override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void DrawGlyph(HDC dc, int x, int y, bool disabled) const;

  bool drawsCaption_ = true;
  UniqueBitmap glyph_;
  SIZE glyphSize_{};  // one picture of the strip
  COLORREF transparent_ = 0;
};
