// The progress log as its producers see it: lines as the log shows them
// (a word-wrapped text counts as several lines; the last line is its last
// shown piece). The window's Memo1 implements it; tests use their own.
#pragma once

#include <cstdint>
#include <string>

// One frame of the screen: how often a long copy or download touches the
// log and processes pending messages.
inline constexpr std::uint64_t kFrameMilliseconds = 20;

class ProgressLog {
 public:
  virtual ~ProgressLog() = default;
  virtual void AppendLine(const std::wstring& line) = 0;
  virtual void ReplaceLastLine(const std::wstring& line) = 0;
  virtual std::wstring LastLine() const = 0;
};
