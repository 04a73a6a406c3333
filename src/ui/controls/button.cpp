#include "ui/controls/button.h"

#include <commctrl.h>

namespace {

constexpr int kGlyphPixels = 18;
constexpr int kGlyphToCaption = 4;
constexpr int kFocusInset = 4;

}  // namespace

void Button::AfterCreate(const ControlDescription& row) {
  SetWindowSubclass(hwnd_, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
  if (row.glyph != 0) LoadGlyph(GetModuleHandleW(nullptr), row.glyph);
}

void Button::SetAccessibleName(std::wstring_view name) {
  drawsCaption_ = false;
  SetText(name);
}

void Button::Command(int code) {
  if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && Enabled() && OnClick) OnClick();
}

void Button::LoadGlyph(HINSTANCE instance, int resourceId) {
  glyph_.reset(static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!glyph_) return;
  BITMAP info{};
  GetObjectW(glyph_.get(), sizeof info, &info);
  glyphSize_ = {info.bmWidth / 2, info.bmHeight};
  MemoryDc source(nullptr, glyph_.get());
  // The strip's bottom-left pixel names the colour that shows the face.
  transparent_ = GetPixel(source.get(), 0, info.bmHeight - 1);
}

LRESULT CALLBACK Button::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* button = reinterpret_cast<Button*>(self);
  switch (message) {
    case WM_GETDLGCODE: {
      // An owner-drawn button is no push button to the dialog manager; say
      // which kind it is so Enter presses the focused button.
      const bool isDefault = button->ShowsDefaultFrame && button->ShowsDefaultFrame(*button);
      return DLGC_BUTTON | (isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }
    case BM_SETSTYLE:
      // The dialog manager moves the default frame by restyling buttons;
      // that would turn this one into a standard button. Redraw instead.
      button->Redraw();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if (button->FocusChanged) button->FocusChanged();
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void Button::DrawGlyph(HDC dc, int x, int y, bool disabled) const {
  MemoryDc source(dc, glyph_.get());
  const int size = ScaleToDpi(kGlyphPixels, dpi());
  const int from = disabled ? glyphSize_.cx : 0;
  if (dpi() == kDesignDpi) {
    GdiTransparentBlt(dc, x, y, size, size, source.get(), from, 0, glyphSize_.cx, glyphSize_.cy, transparent_);
    return;
  }
  // Scaled smoothly: a transparent blit can only pick pixels, which leaves
  // the edges jagged. The picture is laid on the button face at its own
  // size first, so that the smoothing blends its edges into the face.
  UniqueBitmap laid(CreateCompatibleBitmap(dc, glyphSize_.cx, glyphSize_.cy));
  MemoryDc face(dc, laid.get());
  RECT whole{0, 0, glyphSize_.cx, glyphSize_.cy};
  FillRect(face.get(), &whole, GetSysColorBrush(COLOR_BTNFACE));
  GdiTransparentBlt(face.get(), 0, 0, glyphSize_.cx, glyphSize_.cy, source.get(), from, 0, glyphSize_.cx, glyphSize_.cy,
                    transparent_);
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  POINT oldOrigin{};
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // HALFTONE asks for it
  StretchBlt(dc, x, y, size, size, face.get(), 0, 0, glyphSize_.cx, glyphSize_.cy, SRCCOPY);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  SetStretchBltMode(dc, oldMode);
}

void Button::Draw(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT face = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  if (ShowsDefaultFrame && ShowsDefaultFrame(*this)) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  SelectedObject selectedFont(dc, font);
  const std::wstring caption = drawsCaption_ ? Text() : std::wstring();
  RECT textSize{0, 0, 0, 0};
  if (!caption.empty()) DrawTextW(dc, caption.c_str(), -1, &textSize, DT_SINGLELINE | DT_CALCRECT);
  const int glyph = HasGlyph() ? ScaleToDpi(kGlyphPixels, dpi()) : 0;
  const int gap = glyph > 0 && !caption.empty() ? ScaleToDpi(kGlyphToCaption, dpi()) : 0;
  const int total = glyph + gap + textSize.right;
  const int shift = pushed ? 1 : 0;
  int x = face.left + (face.right - face.left - total) / 2 + shift;
  const int middle = (face.top + face.bottom) / 2 + shift;

  if (glyph > 0) {
    DrawGlyph(dc, x, middle - glyph / 2, disabled);
    x += glyph + gap;
  }
  if (!caption.empty()) {
    RECT text{x, face.top + shift, x + textSize.right, face.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    if (disabled) {
      // Embossed like a disabled standard caption.
      OffsetRect(&text, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextW(dc, caption.c_str(), -1, &text, format);
      OffsetRect(&text, -1, -1);
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, caption.c_str(), -1, &text, format);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = face;
    InflateRect(&focus, -kFocusInset, -kFocusInset);
    DrawFocusRect(dc, &focus);
  }
}
