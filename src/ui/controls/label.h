// Static text. An auto-sized label takes the size of its text whenever the
// text changes; a right-aligned one keeps its right edge.
#pragma once

#include "ui/controls/control.h"

class Label : public Control {
 public:
  void SetText(std::wstring_view text) override;

 protected:
  const wchar_t* ClassName() const override { return L"STATIC"; }
  DWORD Style(const ControlDescription& row) const override;
  void AfterCreate(const ControlDescription& row) override { options_ = row.options; }

 private:
  unsigned options_ = 0;
};
