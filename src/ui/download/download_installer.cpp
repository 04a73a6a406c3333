#include "ui/download/download_installer.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "common/product.h"
#include "system/connectivity_wininet.h"
#include "system/win32.h"
#include "ui/download/download_text.h"

namespace {

// The download's target: created (or cut to length 0) for reading and
// writing, shared with nobody, and closed when the object goes, whichever
// way the GET ended. The body arrives in pieces of at most 16 KiB; they are
// written a mebibyte at a time, since each write costs about as much as
// receiving the piece.
class TargetFile final : public OutputSink {
 public:
  explicit TargetFile(std::wstring path) : path_(std::move(path)) {
    handle_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle_) {
      const DWORD error = GetLastError();
      throw std::runtime_error(Utf8(CannotCreateFileText(path_, SystemMessage(error))));
    }
  }
  ~TargetFile() {
    try {
      // Only after an error elsewhere: what arrived stays on the drive.
      Finish();
    } catch (...) {
      // That error is the one the user sees.
    }
  }
  TargetFile(const TargetFile&) = delete;
  TargetFile& operator=(const TargetFile&) = delete;

  void Write(const char* data, std::size_t size) override {
    held_.append(data, size);
    if (held_.size() >= kWriteBytes) WriteHeld();
  }

  void Finish() override { WriteHeld(); }

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
      const BOOL wrote = WriteFile(handle_.get(), data, chunk, &written, nullptr);
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
  UniqueHandle handle_;
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
}

void InstallerDownload::DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot) {
  DownloadInstaller(fileName, targetRoot, WininetProbe{});
}

void InstallerDownload::DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot,
                                          const InternetProbe& probe) {
  if (!IsInternetAvailable(ProductSiteUrl, probe)) {
    actions_.showMessage(NoInternetAccessText(fileName));
    return;
  }
  TargetFile target(targetRoot + fileName);
  log_.AppendLine(DownloadingLine(fileName));
  client_.Get(DownloadUrl(ProductSiteUrlA, fileName), target);
}
