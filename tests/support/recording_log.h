// A progress log for tests that records every producer call in order, into
// a list the test may share with other recorded actions: "+" appends, "="
// replaces the last line.
#pragma once

#include <string>
#include <vector>

#include "ui/progress_log.h"

class RecordingLog final : public ProgressLog {
 public:
  explicit RecordingLog(std::vector<std::wstring>& events) : events_(events) {}
  void AppendLine(const std::wstring& line) override {
    events_.push_back(L"+" + line);
    lines.push_back(line);
  }
  void ReplaceLastLine(const std::wstring& line) override {
    events_.push_back(L"=" + line);
    if (lines.empty())
      lines.push_back(line);
    else
      lines.back() = line;
  }
  std::wstring LastLine() const override { return lines.empty() ? L"" : lines.back(); }

  // The lines as the log holds them; tests edit them as a user would.
  std::vector<std::wstring> lines;

 private:
  std::vector<std::wstring>& events_;
};
