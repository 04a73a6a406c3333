// Window timer with an on/off switch. Switching a running timer on again
// keeps its period; only off then on starts a new period.
#pragma once

#include <windows.h>

#include <functional>

class Timer {
 public:
  static constexpr UINT kDefaultInterval = 1000;

  Timer(UINT_PTR id) : id_(id) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  // Switching off cannot fail: the timer goes with its owner's object.
  ~Timer() {
    if (enabled_ && owner_ != nullptr) KillTimer(owner_, id_);
  }

  std::function<void()> OnTimer;

  void Attach(HWND owner) { owner_ = owner; }
  UINT_PTR id() const { return id_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // WM_TIMER with this id arrived; a tick left in the queue after the timer
  // was switched off does not count.
  void Elapsed() const {
    if (enabled_ && OnTimer) OnTimer();
  }

 private:
  HWND owner_ = nullptr;
  UINT_PTR id_;
  UINT interval_ = kDefaultInterval;
  bool enabled_ = false;
};
