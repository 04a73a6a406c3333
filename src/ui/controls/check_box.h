// Two-state check box. Its handler runs whenever the state changes, whether
// the user clicked or the program set it.
#pragma once

#include <functional>

#include "ui/controls/control.h"

class CheckBox : public Control {
 public:
  std::function<void()> OnClick;

  bool Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked);
  // The user toggled it (the control has already changed its state).
  void Command(int code) override {
    if (code == BN_CLICKED) Clicked();
  }

 protected:
  void Clicked() const {
    if (OnClick) OnClick();
  }

  const wchar_t* ClassName() const override { return L"BUTTON"; }
  DWORD Style(const ControlDescription&) const override { return BS_AUTOCHECKBOX; }
  void AfterCreate(const ControlDescription& row) override;
};
