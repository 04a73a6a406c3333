// Drives another process's windows as a user would: find them by caption,
// class, text and position, read what they show, press what is enabled, type,
// answer boxes and dialogs, and take screenshots. Everything goes through the
// window system's messages (the W calls, which Wine marshals between
// processes), never through the tool's code.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "system/win32.h"

namespace ui_driver {

// Puts this thread on a desktop of its own, drawn by Wine as a virtual
// desktop of the given size with frames and title bars, and remembers it for
// the tools started later. Call once, before any window is looked up.
// False (with the reason on stderr) when that is not possible.
bool UseDesktop(const std::wstring& name, int width, int height);

std::wstring Text(HWND window);
std::wstring ClassOf(HWND window);
std::vector<std::wstring> ComboItems(HWND combo);
bool Checked(HWND checkBox);
bool Enabled(HWND window);
// Client size in pixels.
SIZE ClientSize(HWND window);

// All descendants of `parent`, top to bottom, then left to right.
std::vector<HWND> Descendants(HWND parent);
// The first descendant of that class (case-insensitive) whose text is
// `text`, or whose text starts with it when `prefix` is set; nullptr if none.
HWND FindByText(HWND parent, std::wstring_view className, std::wstring_view text, bool prefix = false);
// The index-th descendant of that class in screen order; nullptr if none.
HWND FindByClass(HWND parent, std::wstring_view className, size_t index = 0);

// Presses a button the way a mouse click would, but only when the button is
// visible and enabled: BM_CLICK alone would press a disabled button too.
testing::AssertionResult Click(HWND button);
// Replaces an edit field's text, as a paste would, without key strokes.
void SetText(HWND window, const std::wstring& text);
// Types characters into an edit field, one WM_CHAR each.
void Type(HWND edit, const std::wstring& text);
// Real key strokes through the system's input queue, to whatever has the
// keyboard focus of the foreground window.
void PressKey(WORD virtualKey, bool shift = false);
// The control that has the keyboard focus in the thread owning `window`.
HWND Focus(HWND window);

// Polls `condition` every 20 ms until it holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Waits until `read()` equals `expected`; on a time-out the failure shows
// the last value read.
template <typename T>
testing::AssertionResult Eventually(const std::function<T()>& read, const T& expected, DWORD timeoutMs) {
  T last{};
  if (WaitUntil([&] { return (last = read()) == expected; }, timeoutMs)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "after " << timeoutMs << " ms still " << testing::PrintToString(last)
                                     << ", expected " << testing::PrintToString(expected);
}

// A message box as the user sees it.
struct MessageBoxView {
  HWND box = nullptr;
  std::wstring caption;
  std::wstring text;
  bool hasIcon = false;
};
MessageBoxView ReadMessageBox(HWND box);
// Presses the button `id` (IDOK, IDYES, IDNO) of a message box and waits
// until the box has gone.
testing::AssertionResult PressButton(HWND box, int id);
inline testing::AssertionResult PressOk(HWND box) { return PressButton(box, IDOK); }
// Fills the open-file dialog's file-name field and presses Open.
testing::AssertionResult AnswerOpenDialog(HWND dialog, const std::wstring& path);

// One run of a program, started on the driver's desktop; killed at the end
// of the object's life if it is still running.
class ToolProcess {
 public:
  explicit ToolProcess(const std::wstring& exePath);
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  DWORD Id() const { return id_; }
  // The visible top-level window of this process with that caption.
  HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const;
  // A top-level window of this process of that class whose owner is `owner`
  // and whose caption is `caption`; nullptr after the time-out.
  HWND WaitForOwnedWindow(HWND owner, std::wstring_view className, const std::wstring& caption, DWORD timeoutMs) const;
  // The visible, enabled dialogs (#32770) this process shows now.
  std::vector<HWND> Dialogs() const;
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
};

// Saves the window as the screen shows it, frame and title included, as a
// PNG at `unixPath`. It waits until the window is really on the display.
testing::AssertionResult Screenshot(HWND window, const std::string& unixPath);

}  // namespace ui_driver
