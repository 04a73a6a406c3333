#include "ui/controls/frames.h"

void FrameDecoration::Draw(const DRAWITEMSTRUCT& item) const {
  RECT r = item.rcItem;
  DrawEdge(item.hDC, &r, Edge(), BF_RECT | (FillsFace() ? BF_MIDDLE : 0));
}
