// Decorations without input: the lowered frame around the status text and
// the raised one-pixel separator strip.
#pragma once

#include "ui/controls/control.h"

class FrameDecoration : public Control {
 public:
  void Draw(const DRAWITEMSTRUCT& item) const override;

 protected:
  const wchar_t* ClassName() const override { return L"STATIC"; }
  DWORD Style(const ControlDescription&) const override { return SS_OWNERDRAW; }
  virtual UINT Edge() const = 0;
  virtual bool FillsFace() const = 0;
};

// A lowered rectangular frame; the controls inside it show through.
class Bevel : public FrameDecoration {
 protected:
  UINT Edge() const override { return BDR_SUNKENOUTER; }
  bool FillsFace() const override { return false; }
};

// A panel with a raised one-pixel bevel and no caption.
class Separator : public FrameDecoration {
 protected:
  UINT Edge() const override { return BDR_RAISEDINNER; }
  bool FillsFace() const override { return true; }
};
