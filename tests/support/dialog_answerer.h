// Answers a dialog the code under test shows modally on the test's own
// thread: a second thread looks for it, and once a visible dialog window
// (#32770) of this process matches, hands it to the answer and stops.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

class DialogAnswerer {
 public:
  // Which dialog to answer. Matching sends the dialog no message: the test's
  // thread may be busy (or waiting for this answerer) while it is looked for.
  struct Match {
    std::wstring title;  // empty: any caption
    DWORD thread = 0;    // 0: any thread of this process
  };
  // Reads what the dialog shows and presses a button; runs on the second
  // thread.
  using Answer = std::function<void(HWND dialog)>;

  // The patience only bounds a dialog that never comes: a first file dialog
  // in a fresh prefix takes seconds, and on an emulated processor (see
  // scripts/wine-vm) it took 20 s.
  DialogAnswerer(Match match, Answer answer, std::chrono::milliseconds patience = std::chrono::seconds(60));
  // Stops looking, and waits for an answer under way.
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // Waits until a dialog was answered or the patience ran out; whether one
  // was answered.
  bool Wait();
  // Stops looking; whether a dialog was answered before.
  bool Stop();

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

// Presses a dialog button as a click would.
void PressDialogButton(HWND dialog, int button);
