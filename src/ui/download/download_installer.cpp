#include "ui/download/download_installer.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "common/product.h"
#include "system/connectivity_wininet.h"
#include "system/replacement_file.h"
#include "system/win32.h"
#include "ui/check/read_back.h"
#include "ui/download/download_text.h"

namespace {

// The download's target. The body goes into a temporary file beside it,
// shared with nobody, and replaces the target only once it is whole and on
// the medium; whichever way the GET ends otherwise, the target stays as it
// was and the temporary file goes. The body arrives in pieces of at most
// 16 KiB; they are written a mebibyte at a time, since each write costs
// about as much as receiving the piece. Once whole, the file is read back
// from the medium before it replaces the target. Errors name the target,
// the file the user knows.
class TargetFile final : public OutputSink {
 public:
  TargetFile(std::wstring path, ProgressLog& log, std::function<void()> processMessages)
      : path_(std::move(path)), log_(log), processMessages_(std::move(processMessages)), replacement_(path_) {
    if (!replacement_.valid()) {
      throw std::runtime_error(Utf8(CannotCreateFileText(path_, SystemMessage(replacement_.error()))));
    }
  }
  TargetFile(const TargetFile&) = delete;
  TargetFile& operator=(const TargetFile&) = delete;

  void Write(const char* data, std::size_t size) override {
    held_.append(data, size);
    if (held_.size() >= kWriteBytes) WriteHeld();
  }

  void Finish(bool complete) override {
    if (!complete) return;
    WriteHeld();
    if (const DWORD error = replacement_.Flush()) {
      throw std::runtime_error(Utf8(CannotWriteFileText(path_, SystemMessage(error))));
    }
    if (std::optional<std::wstring> misread = ReadBackInstaller(replacement_, path_, log_, processMessages_)) {
      throw std::runtime_error(Utf8(*misread));
    }
    if (const DWORD error = replacement_.Commit()) {
      throw std::runtime_error(Utf8(CannotWriteFileText(path_, SystemMessage(error))));
    }
  }

 private:
  static constexpr std::size_t kWriteBytes = 1024 * 1024;

  // Taken out first, so that bytes a failed write may have placed are never
  // written a second time.
  void WriteHeld() {
    std::string piece;
    piece.swap(held_);
    WriteAll(piece.data(), piece.size());
  }

  void WriteAll(const char* data, std::size_t size) {
    while (size != 0) {
      const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
      DWORD written = 0;
      const BOOL wrote = replacement_.Write(data, chunk, &written);
      if (!wrote || written == 0) {
        // A write that takes nothing without failing means a full medium.
        const DWORD error = wrote ? static_cast<DWORD>(ERROR_HANDLE_DISK_FULL) : GetLastError();
        throw std::runtime_error(Utf8(CannotWriteFileText(path_, SystemMessage(error))));
      }
      data += written;
      size -= written;
    }
  }

  std::wstring path_;
  ProgressLog& log_;
  std::function<void()> processMessages_;
  ReplacementFile replacement_;
  std::string held_;
};

}  // namespace

InstallerDownload::InstallerDownload(ProgressLog& log, std::int32_t& iloscDoPobrania, std::int32_t& iloscPobranych,
                                     DownloadWindowActions actions)
    : actions_(std::move(actions)),
      log_(log),
      handlers_(log, iloscDoPobrania, iloscPobranych, actions_),
      client_(handlers_) {
  HttpSettings& settings = client_.settings();
  settings.accept = kDownloadAccept;
  settings.userAgent = kDownloadUserAgent;
  settings.handleRedirects = true;
  settings.idle = actions_.keepAlive;
  // While the client waits, the window runs once a frame, as while bytes
  // come: a click or a repaint is answered at once to the eye.
  settings.idleInterval = std::chrono::milliseconds(kFrameMilliseconds);
}

void InstallerDownload::DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot) {
  DownloadInstaller(fileName, targetRoot, std::make_shared<WininetProbe>());
}

void InstallerDownload::DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot,
                                          std::shared_ptr<const InternetProbe> probe) {
  // The window runs meanwhile as during the client's waits.
  if (!IsInternetAvailableWhileAlive(ProductSiteUrl, std::move(probe), actions_.keepAlive,
                                     client_.settings().idleInterval)) {
    actions_.showMessage(NoInternetAccessText(fileName));
    return;
  }
  TargetFile target(targetRoot + fileName, log_, actions_.processMessages);
  log_.AppendLine(DownloadingLine(fileName));
  client_.Get(DownloadUrl(SecureSiteUrlA, fileName), target);
}
