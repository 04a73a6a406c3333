// An InternetProbe that answers as scripted and records every host probe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/connectivity.h"

struct ProbeCall {
  std::wstring url;
  std::uint32_t flags;
  bool operator==(const ProbeCall&) const = default;
};

class ScriptedProbe final : public InternetProbe {
 public:
  // `reachable` empty: the script expects no host probe.
  ScriptedProbe(bool stateResult, std::uint32_t stateFlags, std::optional<bool> reachable)
      : stateResult_(stateResult), stateFlags_(stateFlags), reachable_(reachable) {}

  bool ConnectedState(std::uint32_t& flags) const override {
    ++stateCalls;
    flags = stateFlags_;
    return stateResult_;
  }
  bool CheckConnection(const std::wstring& url, std::uint32_t flags) const override {
    probes.push_back({url, flags});
    // An unexpected probe answers "reachable", so that a fault which probes
    // too early cannot hide behind a false result; the recorded call shows it.
    return reachable_.value_or(true);
  }

  mutable int stateCalls = 0;
  mutable std::vector<ProbeCall> probes;

 private:
  bool stateResult_;
  std::uint32_t stateFlags_;
  std::optional<bool> reachable_;
};
