#include "ui/layout.h"

namespace {

// Fixed gaps of the window's own layout.
constexpr int kGroupBelowSeparator = 5;
constexpr int kRightOfGroup = 5;
constexpr int kBetweenOptions = 2;
constexpr int kLogBelowGroup = 2;
constexpr int kBetweenButtons = 3;
constexpr int kBelowCloseButton = 15;

}  // namespace

int ScaleToDpi(int pixels96, int dpi) {
  const long long scaled = static_cast<long long>(pixels96) * dpi;
  const long long half = kDesignDpi / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / kDesignDpi : -((-scaled + half) / kDesignDpi));
}

Bounds ScaleToDpi(const Bounds& b, int dpi) {
  return {ScaleToDpi(b.left, dpi), ScaleToDpi(b.top, dpi), ScaleToDpi(b.width, dpi), ScaleToDpi(b.height, dpi)};
}

FontRequest FontForDpi(std::wstring_view face, int pixelsAt96Dpi, int dpi) {
  if (dpi == kDesignDpi) return {std::wstring(face), pixelsAt96Dpi, false};
  const bool bitmapFace = face == L"MS Sans Serif";
  return {bitmapFace ? L"Microsoft Sans Serif" : std::wstring(face), ScaleToDpi(pixelsAt96Dpi, dpi), true};
}

GroupPlacement PlaceOptionsGroup(const Bounds& separator, const Bounds& group) {
  return {separator.top + kGroupBelowSeparator, group.right() + kRightOfGroup};
}

LowerLayout LayOutBelowGroup(const Bounds& group, const Bounds& installerOption, const Bounds& copyButton,
                             const Bounds& closeButton) {
  LowerLayout out{};
  out.downloadOptionTop = installerOption.bottom() + kBetweenOptions;
  out.logTop = group.bottom() + kLogBelowGroup;
  out.copyButtonTop = out.logTop;
  out.closeButtonTop = out.copyButtonTop + copyButton.height + kBetweenButtons;
  out.clientHeight = out.closeButtonTop + closeButton.height + kBelowCloseButton;
  return out;
}
