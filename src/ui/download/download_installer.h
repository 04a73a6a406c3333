// The installer download: the window's HTTP client IdHTTP1 with its event
// handlers, and DownloadInstaller, which fetches the installer from the
// product web site into the root of the target drive. The window
// keeps one of these for its lifetime, so the client's kept connection and
// cookies serve every download.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "http/http_client.h"
#include "system/connectivity.h"
#include "ui/download/download_log_writer.h"
#include "ui/progress_log.h"

class InstallerDownload {
 public:
  // All references must outlive this object; the counters are the window's
  // fields iloscDoPobrania and iloscPobranych.
  InstallerDownload(ProgressLog& log, std::int32_t& iloscDoPobrania, std::int32_t& iloscPobranych,
                    DownloadWindowActions actions);
  InstallerDownload(const InstallerDownload&) = delete;
  InstallerDownload& operator=(const InstallerDownload&) = delete;

  // Asks wininet whether the product site answers, then downloads into
  // targetRoot ("E:\\").
  void DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot);
  // The same with the connectivity answers given by `probe`. The check runs
  // on a thread of its own while the window keeps running (keepAlive), so a
  // stop asked for meanwhile ends it at once.
  //
  // No access: the box "Brak dostępu do internetu\r\rNie mogę pobrać " +
  // fileName, nothing created, nothing logged. Otherwise the target (the
  // targetRoot + fileName) is created or cut to length 0 and held with
  // no sharing until the GET is over, "Pobieram : " + fileName is logged
  // and the GET runs into it. Errors (the target cannot be created or
  // written, HttpError of the GET) leave this function after the file has
  // been released; the target is never deleted.
  void DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot,
                         std::shared_ptr<const InternetProbe> probe);

  HttpClient& IdHTTP1() { return client_; }
  DownloadLogWriter& Handlers() { return handlers_; }

 private:
  DownloadWindowActions actions_;
  ProgressLog& log_;
  DownloadLogWriter handlers_;
  HttpClient client_;
};
