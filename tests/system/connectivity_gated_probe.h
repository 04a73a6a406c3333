// An InternetProbe whose host probe blocks until the test opens its gate,
// as wininet's does on a network that drops packets. The gate is shared, so
// that a test can still watch and open it once the probe itself is gone.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "system/connectivity.h"

class ProbeGate {
 public:
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  // False if the probe has not entered within `patience`.
  bool WaitEntered(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, patience, [this] { return entered_; });
  }
  bool WaitFinished(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, patience, [this] { return finished_; });
  }
  bool Finished() {
    std::lock_guard lock(mutex_);
    return finished_;
  }

  // The probe's side.
  void PassThrough() {
    std::unique_lock lock(mutex_);
    entered_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }
  void MarkFinished() {
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  bool entered_ = false;
  bool finished_ = false;
};

// Online through the LAN; the host answers `reachable` once the gate opens.
class GatedProbe final : public InternetProbe {
 public:
  GatedProbe(std::shared_ptr<ProbeGate> gate, bool reachable) : gate_(std::move(gate)), reachable_(reachable) {}

  bool ConnectedState(std::uint32_t& flags) const override {
    flags = kInternetConnectionLan;
    return true;
  }
  bool CheckConnection(const std::wstring& url, std::uint32_t) const override {
    gate_->PassThrough();
    // Touches the URL it was given after the wait, so that a caller who
    // lent one that has gone since shows under the sanitizers.
    const bool answer = reachable_ && !url.empty();
    gate_->MarkFinished();
    return answer;
  }

 private:
  std::shared_ptr<ProbeGate> gate_;
  bool reachable_;
};
