// Group box that carries its member controls: they move with it, and while
// it is disabled none of them can be changed.
#pragma once

#include <vector>

#include "ui/controls/control.h"

class GroupBox : public Control {
 public:
  void Adopt(Control& member) override { members_.push_back(&member); }
  void SetEnabled(bool enabled) override;
  void ApplyGeometry(int dpi) override;

 protected:
  const wchar_t* ClassName() const override { return L"BUTTON"; }
  DWORD Style(const ControlDescription&) const override { return BS_GROUPBOX; }

 private:
  std::vector<Control*> members_;
};
