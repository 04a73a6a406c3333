// The real window for the benchmarks: a box it would show means the run is
// not what it should measure, so it stops the run instead of waiting for a
// click nobody makes.
#pragma once

#include <stdexcept>
#include <string>

#include "ui/MakePendriveInstalableMainForm.h"

namespace bench {

class BenchForm final : public TForm1 {
 protected:
  void ShowMessageBox(const std::wstring& text) override {
    throw std::runtime_error("the tool shows a box instead of downloading: " + std::string(text.begin(), text.end()));
  }
};

}  // namespace bench
