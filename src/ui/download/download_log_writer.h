// The window's handlers of the HTTP client's events during the installer
// download: status, redirect, start, percentage and end lines in the progress
// log, the two download counters, and the poll timer and close button
// switched back on at the end of a body or when the client closes a
// connection. Portable: the window's controls come in through
// DownloadWindowActions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "http/http_events.h"
#include "ui/progress_log.h"

// What the download does to the window besides writing the log. The window
// binds its own controls; every member but keepAlive must be set.
struct DownloadWindowActions {
  // Dispatches all pending messages (handlers may run nested inside).
  std::function<void()> processMessages;
  std::function<void()> switchTimerOn;      // MainTimer
  std::function<void()> enableCloseButton;  // BitBtnKoniec
  // Plain modal box with the application title; returns when closed.
  std::function<void(const std::wstring& text)> showMessage;
  // Runs at least every 100 ms while the client waits for the server, so
  // that the window keeps painting and answering (handlers may run nested,
  // as at a work event). Optional.
  std::function<void()> keepAlive;
};

class DownloadLogWriter final : public HttpEvents {
 public:
  // The counters are the window's fields iloscDoPobrania and iloscPobranych;
  // all references must outlive the writer.
  DownloadLogWriter(ProgressLog& log, std::int32_t& iloscDoPobrania, std::int32_t& iloscPobranych,
                    const DownloadWindowActions& actions);

  // The handlers, under the names the window gives them.
  void IdHTTP1Status(HttpStatus status, const std::string& statusText);
  void IdHTTP1Connected();
  void IdHTTP1Disconnected();
  // Writes the redirect line; leaves all four values as the client set them.
  void IdHTTP1Redirect(std::string& dest, std::int32_t& numRedirect, bool& handled, std::string& method);
  void IdHTTP1WorkBegin(WorkMode mode, std::int64_t workCountMax);
  // Processes pending messages first, then writes or overwrites the
  // percentage line.
  void IdHTTP1Work(WorkMode mode, std::int64_t workCount);
  void IdHTTP1WorkEnd(WorkMode mode, bool complete);

 private:
  void OnStatus(HttpStatus status, const std::string& text) override { IdHTTP1Status(status, text); }
  void OnConnected() override { IdHTTP1Connected(); }
  void OnDisconnected() override { IdHTTP1Disconnected(); }
  void OnRedirect(std::string& dest, std::int32_t& numRedirect, bool& handled, std::string& method) override {
    IdHTTP1Redirect(dest, numRedirect, handled, method);
  }
  void OnWorkBegin(WorkMode mode, std::int64_t workCountMax) override { IdHTTP1WorkBegin(mode, workCountMax); }
  void OnWork(WorkMode mode, std::int64_t workCount) override { IdHTTP1Work(mode, workCount); }
  void OnWorkEnd(WorkMode mode, bool complete) override { IdHTTP1WorkEnd(mode, complete); }

  void FollowWindowCounter();
  void SwitchControlsOn();

  ProgressLog& log_;
  std::int32_t& iloscDoPobrania_;
  std::int32_t& iloscPobranych_;
  // The body's announced length and the bytes so far, in full.
  std::int64_t expected_ = 0;
  std::int64_t received_ = 0;
  const DownloadWindowActions& actions_;
};
