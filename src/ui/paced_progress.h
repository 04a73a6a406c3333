// Paces a long copy or download for the screen. The producers still report
// every block (each rewrite of the last line, each request to process
// pending messages), but the log control and the message pump are touched
// at most once per frame: under Wine every such call is a round trip to
// the server that costs more than copying the block itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/progress_log.h"

class PacedProgress final : public ProgressLog {
 public:
  // `now` gives milliseconds from any fixed origin.
  PacedProgress(ProgressLog& log, std::function<void()> processMessages, std::function<std::uint64_t()> now,
                std::uint64_t frameMilliseconds = kFrameMilliseconds);

  void AppendLine(const std::wstring& line) override;
  // Shown at the next frame, or before anything else reaches the log.
  void ReplaceLastLine(const std::wstring& line) override;
  // The last line as it will be shown. A held line is exact: messages are
  // processed only after it has been written, so the user cannot have
  // edited the log since.
  std::wstring LastLine() const override;

  // Processes pending messages when a frame is due, after showing the held
  // line so that the repaint shows it.
  void ProcessMessages();
  // Shows the held line now.
  void Flush();

  // The last rewrite reaches the screen however the work ends.
  class FlushOnExit {
   public:
    explicit FlushOnExit(PacedProgress& log) : log_(log) {}
    FlushOnExit(const FlushOnExit&) = delete;
    FlushOnExit& operator=(const FlushOnExit&) = delete;
    ~FlushOnExit() {
      try {
        log_.Flush();
      } catch (...) {
        // Out of memory for one log line; the error on its way out matters more.
      }
    }

   private:
    PacedProgress& log_;
  };

 private:
  ProgressLog& log_;
  std::function<void()> processMessages_;
  std::function<std::uint64_t()> now_;
  std::uint64_t frameMilliseconds_;
  std::optional<std::uint64_t> lastFrame_;
  std::optional<std::wstring> held_;
};
