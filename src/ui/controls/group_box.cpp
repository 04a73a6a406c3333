#include "ui/controls/group_box.h"

void GroupBox::SetEnabled(bool enabled) {
  for (Control* member : members_) member->SetEnabled(enabled);
  Control::SetEnabled(enabled);
}

void GroupBox::ApplyGeometry(int dpi) {
  Control::ApplyGeometry(dpi);
  for (Control* member : members_) member->ApplyGeometry(dpi);
}
