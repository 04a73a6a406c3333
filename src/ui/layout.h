// Geometry arithmetic of the main window, kept free of windows.h so it can
// be tested natively. All inputs and results are pixels at 96 DPI unless a
// function says otherwise.
#pragma once

#include <string>
#include <string_view>

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Bounds&) const = default;
};

inline constexpr int kDesignDpi = 96;

// `pixels96` scaled to `dpi`, rounded to the nearest pixel (halves away from
// zero, as MulDiv rounds), so 96 DPI gives every pixel back unchanged.
int ScaleToDpi(int pixels96, int dpi);
Bounds ScaleToDpi(const Bounds& bounds96, int dpi);

// The font the window asks for at `dpi`, for the face and pixel height it is
// described with at 96 DPI.
struct FontRequest {
  std::wstring face;
  int pixels = 0;
  // Only an outline (TrueType) face will do: a bitmap face comes in a few
  // fixed sizes and would leave the text small in larger controls.
  bool outlineOnly = false;
  bool operator==(const FontRequest&) const = default;
};
// At 96 DPI the described face as it is. Elsewhere the height scales with
// the DPI, and "MS Sans Serif", a bitmap face, gives way to its outline
// twin "Microsoft Sans Serif", which every Windows since 2000 has.
FontRequest FontForDpi(std::wstring_view face, int pixelsAt96Dpi, int dpi);

// Options group placed under the separator strip (first steps of a tick).
struct GroupPlacement {
  int groupTop;
  int clientWidth;
};
GroupPlacement PlaceOptionsGroup(const Bounds& separator, const Bounds& group);

// Everything below the options group, laid out from the group's current
// place (last step of a tick). The check box tops are inside the group.
struct LowerLayout {
  int downloadOptionTop;
  int logTop;
  int copyButtonTop;
  int closeButtonTop;
  int clientHeight;
};
LowerLayout LayOutBelowGroup(const Bounds& group, const Bounds& installerOption, const Bounds& copyButton,
                             const Bounds& closeButton);
