#include "ui/paced_progress.h"

#include <utility>

PacedProgress::PacedProgress(ProgressLog& log, std::function<void()> processMessages,
                             std::function<std::uint64_t()> now, std::uint64_t frameMilliseconds)
    : log_(log),
      processMessages_(std::move(processMessages)),
      now_(std::move(now)),
      frameMilliseconds_(frameMilliseconds) {}

void PacedProgress::AppendLine(const std::wstring& line) {
  Flush();
  log_.AppendLine(line);
}

void PacedProgress::ReplaceLastLine(const std::wstring& line) { held_ = line; }

std::wstring PacedProgress::LastLine() const { return held_ ? *held_ : log_.LastLine(); }

void PacedProgress::ProcessMessages() {
  const std::uint64_t now = now_();
  if (lastFrame_ && now - *lastFrame_ < frameMilliseconds_) return;
  lastFrame_ = now;
  Flush();
  processMessages_();
}

void PacedProgress::Flush() {
  if (!held_) return;
  // Taken out first: a log that throws must not see the line again.
  const std::wstring line = std::move(*held_);
  held_.reset();
  log_.ReplaceLastLine(line);
}
