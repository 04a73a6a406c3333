// A real main window in the test process, shown on the test's private
// display, with helpers to press keys through the window's own keyboard
// handling and to read what the user would see.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialog_answerer.h"
#include "ui/MakePendriveInstalableMainForm.h"

// The window with the two buttons whose work lives elsewhere counting their
// presses.
class RecordingForm : public TForm1 {
 public:
  int copyPresses = 0;
  int helpPresses = 0;
  void BitBtn1Click() override { ++copyPresses; }
  void BitBtn2Click() override { ++helpPresses; }
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // A new window, as at start, for the drives present now.
  void Restart();
  void TearDown() override;

  void Pump() { form->ProcessMessages(); }
  // Posts the key to the focused window, as the keyboard would, and lets
  // the window handle it.
  void PressKey(UINT vk);
  void PressAltKey(wchar_t character);
  void Tick() { form->MainTimerTimer(); }
  // The window moved to a monitor of `dpi`, as Windows tells it.
  void ChangeDpi(int dpi) {
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }

  // Where a control is, in client pixels of the form.
  RECT PlaceOf(const Control& control) const;
  SIZE ClientSize() const;
  bool WindowGone() const { return !IsWindow(window); }
  // The window is gone and the tool was asked to end (seen by the window's
  // own message pump or still in the queue).
  bool ToolEnded() const { return WindowGone() && (form->QuitRequested() || QuitPosted()); }
  // Whether the form asked the tool to end (and takes the request away).
  static bool QuitPosted();

  std::unique_ptr<RecordingForm> form;
  HWND window = nullptr;
};

// Answers the next message box of the application from a second thread:
// remembers its text and whether it shows the error icon, then presses OK.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer();
  // Waits for the answer; false when no box came within the time.
  bool Wait() { return answerer_.Wait(); }
  std::wstring text;
  bool errorIcon = false;

 private:
  DialogAnswerer answerer_;
};
