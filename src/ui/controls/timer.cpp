#include "ui/controls/timer.h"

#include <stdexcept>

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_ || owner_ == nullptr) return;
  if (enabled) {
    if (SetTimer(owner_, id_, interval_, nullptr) == 0) throw std::runtime_error("Not enough timers available");
  } else {
    KillTimer(owner_, id_);
  }
  enabled_ = enabled;
}
