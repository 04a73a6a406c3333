// What the benchmarks share: a wall-clock stopwatch, medians, the settings
// their scripts pass through the environment, and a log that shows nothing.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/progress_log.h"

namespace bench {

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceCounter(&start_); }
  double Seconds() const {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_;
};

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A setting the benchmark's script must pass; `script` names it in the error.
inline std::string RequiredEnv(const char* name, const char* script) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(std::string(name) + " is not set: run this through " + script);
  }
  return value;
}

// Seconds measured by the script, separated by blanks.
inline std::vector<double> ParseSeconds(const std::string& text) {
  std::vector<double> values;
  std::istringstream in(text);
  for (double value; in >> value;) values.push_back(value);
  return values;
}

// A benchmark's main: runs `run`, and reports an exception that leaves it
// under the benchmark's name, with exit status 1.
inline int Main(const char* name, int (*run)()) {
  try {
    return run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", name, error.what());
    return 1;
  }
}

// A log that shows nothing, for the runs that leave the rewrite out.
class NullLog final : public ProgressLog {
 public:
  void AppendLine(const std::wstring&) override {}
  void ReplaceLastLine(const std::wstring&) override {}
  std::wstring LastLine() const override { return {}; }
};

}  // namespace bench
