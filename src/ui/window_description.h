// The main window described as data: its own properties and one row per
// control, read when the window is created. Geometry is in pixels at 96 DPI.
// Free of windows.h; the control wrappers map the options to styles.
#pragma once

#include <span>
#include <string_view>

#include "ui/layout.h"

// Option bits of a row.
enum ControlOption : unsigned {
  kNoOptions = 0,
  kTabStop = 1u << 0,
  kDisabled = 1u << 1,
  kChecked = 1u << 2,
  kAutoSize = 1u << 3,  // a label that sizes itself to its text
  kAlignRight = 1u << 4,
};

// Command identifiers of the two buttons with keyboard roles: the ones the
// dialog manager sends for Enter and Esc (IDOK, IDCANCEL).
inline constexpr int kDefaultButtonId = 1;
inline constexpr int kCancelButtonId = 2;

struct ControlDescription {
  std::wstring_view name;
  std::wstring_view caption;
  Bounds bounds;                // relative to `container`, or to the client area
  std::wstring_view container;  // empty: the window itself
  unsigned options;
  int id;
  int glyph;  // bitmap resource of a button's glyph strip, 0 for none
};

struct FormDescription {
  std::wstring_view name;
  std::wstring_view caption;
  int clientWidth;
  int clientHeight;
  std::wstring_view fontFace;
  int fontPixels;  // character height at 96 DPI
  // Rows in creation order, which is also the order Tab moves the focus in
  // (among rows marked kTabStop and enabled).
  std::span<const ControlDescription> controls;
};

const FormDescription& MainFormDescription();
