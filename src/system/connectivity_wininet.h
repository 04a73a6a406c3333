// The platform's answers to the connectivity questions.
#pragma once

#include "system/connectivity.h"

class WininetProbe final : public InternetProbe {
 public:
  bool ConnectedState(std::uint32_t& flags) const override;
  bool CheckConnection(const std::wstring& url, std::uint32_t flags) const override;
};
