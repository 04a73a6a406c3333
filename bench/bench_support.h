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

#include "system/replacement_file.h"
#include "system/win32.h"
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

// The read-back check alone, as the copy and the download run it after
// their last write: the bytes of `source` written beside `target` a
// mebibyte at a time and flushed, untimed; then ReplacementFile::ReadBack
// timed. Nothing replaces the target. The work as shipped includes this
// time, so the work without the check is the shipped time less this.
inline double ReadBackSeconds(const std::wstring& source, const std::wstring& target) {
  UniqueHandle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ReplacementFile file(target);
  if (!in || !file.valid()) throw std::runtime_error("cannot open the files of the read-back check");
  std::vector<char> block(1024 * 1024);
  DWORD got = 0;
  while (ReadFile(in.get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got != 0) {
    DWORD written = 0;
    if (!file.Write(block.data(), got, &written) || written != got) throw std::runtime_error("write failed");
  }
  if (file.Flush() != 0) throw std::runtime_error("flush failed");
  Stopwatch watch;
  const ReadBackResult result = file.ReadBack([](std::int64_t) {});
  const double seconds = watch.Seconds();
  if (result.error != 0 || !result.same) throw std::runtime_error("the read-back check failed");
  return seconds;
}

// Seconds Windows' SHA-256 (CNG) takes over `bytes` bytes in memory, fed
// a mebibyte at a time: the part of the check that hashes what is written.
inline double HashSeconds(std::int64_t bytes) {
  std::vector<char> block(1024 * 1024, '\x5a');
  Sha256 hash;
  Stopwatch watch;
  for (std::int64_t left = bytes; left > 0; left -= static_cast<std::int64_t>(block.size())) {
    hash.Update(block.data(), static_cast<std::size_t>(std::min<std::int64_t>(left, block.size())));
  }
  hash.Finish();
  return watch.Seconds();
}

}  // namespace bench
