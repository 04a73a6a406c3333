#include "ui/download/download_log_writer.h"

#include "ui/download/download_text.h"

DownloadLogWriter::DownloadLogWriter(ProgressLog& log, std::int32_t& iloscDoPobrania, std::int32_t& iloscPobranych,
                                     const DownloadWindowActions& actions)
    : log_(log), iloscDoPobrania_(iloscDoPobrania), iloscPobranych_(iloscPobranych), actions_(actions) {}

void DownloadLogWriter::IdHTTP1Status(HttpStatus, const std::string& statusText) {
  log_.AppendLine(ShownServerText(statusText));
}

void DownloadLogWriter::IdHTTP1Connected() {
  iloscPobranych_ = 0;
  iloscDoPobrania_ = 0;
}

void DownloadLogWriter::IdHTTP1Disconnected() { SwitchControlsOn(); }

void DownloadLogWriter::IdHTTP1Redirect(std::string& dest, std::int32_t&, bool&, std::string& method) {
  log_.AppendLine(RedirectLine(ShownServerText(dest), ShownServerText(method)));
}

void DownloadLogWriter::IdHTTP1WorkBegin(WorkMode, std::int64_t workCountMax) {
  expected_ = workCountMax;
  received_ = 0;
  iloscDoPobrania_ = LowBits32(workCountMax);
  iloscPobranych_ = 0;
  log_.AppendLine(DownloadStartLine());
}

void DownloadLogWriter::IdHTTP1Work(WorkMode, std::int64_t workCount) {
  actions_.processMessages();
  iloscPobranych_ = LowBits32(workCount);
  received_ = workCount;
  FollowWindowCounter();
  // Without an expected size there is nothing to divide by, so the line
  // counts bytes instead. The figures are 64-bit: the window's 32-bit
  // counters would turn 3 GiB into a negative percentage.
  const std::wstring line =
      expected_ != 0 ? PercentageLine(ShownPercentage(received_, expected_)) : ReceivedBytesLine(workCount);
  if (IsPercentageLine(log_.LastLine())) {
    log_.ReplaceLastLine(line);
  } else {
    log_.AppendLine(line);
  }
}

void DownloadLogWriter::IdHTTP1WorkEnd(WorkMode, bool complete) {
  FollowWindowCounter();
  log_.AppendLine(DownloadEndLine(DownloadSucceeded(expected_, received_, complete)));
  SwitchControlsOn();
}

// Read after the messages: a handler that ran nested may have changed the
// window's counter, and then its value counts.
void DownloadLogWriter::FollowWindowCounter() {
  if (iloscDoPobrania_ != LowBits32(expected_)) expected_ = iloscDoPobrania_;
}

void DownloadLogWriter::SwitchControlsOn() {
  actions_.switchTimerOn();
  actions_.enableCloseButton();
}
