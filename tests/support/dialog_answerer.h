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
  using Match = std::function<bool(HWND dialog)>;
  // Reads what the dialog shows and presses a button; runs on the second
  // thread.
  using Answer = std::function<void(HWND dialog)>;

  DialogAnswerer(Match match, Answer answer, std::chrono::milliseconds patience = std::chrono::seconds(20));
  // Stops looking, and waits for an answer under way.
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // Waits until a dialog was answered or the patience ran out; whether one
  // was answered.
  bool Wait();
  // Stops looking; whether a dialog was answered before.
  bool Stop();

  // Matches a dialog captioned `title`.
  static Match Titled(std::wstring title);
  // Matches any dialog of the given thread.
  static Match OfThread(DWORD threadId);

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

// Presses a dialog button as a click would.
void PressDialogButton(HWND dialog, int button);
// Text of any window, whatever its length.
std::wstring TextOfWindow(HWND window);
