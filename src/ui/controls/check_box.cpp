#include "ui/controls/check_box.h"

void CheckBox::AfterCreate(const ControlDescription& row) {
  SendMessageW(hwnd_, BM_SETCHECK, (row.options & kChecked) ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::SetChecked(bool checked) {
  if (Checked() == checked) return;
  SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  Clicked();
}
