#include "ui/download/download_log_writer.h"

#include "ui/download/download_text.h"

DownloadLogWriter::DownloadLogWriter(ProgressLog& log, std::int32_t& iloscDoPobrania, std::int32_t& iloscPobranych,
                                     const DownloadWindowActions& actions)
    : log_(log), iloscDoPobrania_(iloscDoPobrania), iloscPobranych_(iloscPobranych), actions_(actions) {}

void DownloadLogWriter::IdHTTP1Status(HttpStatus, const std::string& statusText) {
  log_.AppendLine(ReceivedText(statusText));
}

void DownloadLogWriter::IdHTTP1Connected() {
  iloscPobranych_ = 0;
  iloscDoPobrania_ = 0;
}

void DownloadLogWriter::IdHTTP1Disconnected() { SwitchControlsOn(); }

void DownloadLogWriter::IdHTTP1Redirect(std::string& dest, std::int32_t&, bool&, std::string& method) {
  log_.AppendLine(RedirectLine(ReceivedText(dest), ReceivedText(method)));
}

void DownloadLogWriter::IdHTTP1WorkBegin(WorkMode, std::int64_t workCountMax) {
  iloscDoPobrania_ = LowBits32(workCountMax);
  iloscPobranych_ = 0;
  log_.AppendLine(DownloadStartLine());
}

void DownloadLogWriter::IdHTTP1Work(WorkMode, std::int64_t workCount) {
  actions_.processMessages();
  iloscPobranych_ = LowBits32(workCount);
  // Read after the messages: a handler that ran nested may have changed
  // them. Without an expected size there is nothing to divide by, so the
  // line counts bytes instead.
  const std::wstring line = iloscDoPobrania_ != 0
                                ? PercentageLine(DownloadPercentage(iloscPobranych_, iloscDoPobrania_))
                                : ReceivedBytesLine(workCount);
  if (IsPercentageLine(log_.LastLine())) {
    log_.ReplaceLastLine(line);
  } else {
    log_.AppendLine(line);
  }
}

void DownloadLogWriter::IdHTTP1WorkEnd(WorkMode, bool complete) {
  log_.AppendLine(DownloadEndLine(DownloadSucceeded(iloscDoPobrania_, iloscPobranych_, complete)));
  SwitchControlsOn();
}

void DownloadLogWriter::SwitchControlsOn() {
  actions_.switchTimerOn();
  actions_.enableCloseButton();
}
