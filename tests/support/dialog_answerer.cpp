#include "dialog_answerer.h"

#include <utility>

namespace {

// A visible dialog window of this process that matches; FindWindowExW
// compares the caption without sending the window a message.
HWND FindDialog(const DialogAnswerer::Match& match) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"#32770", match.title.empty() ? nullptr : match.title.c_str()))) {
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && (match.thread == 0 || match.thread == thread) && IsWindowVisible(window)) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace

DialogAnswerer::DialogAnswerer(Match match, Answer answer, std::chrono::milliseconds patience)
    : thread_([this, match = std::move(match), answer = std::move(answer), patience] {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (!stop_ && std::chrono::steady_clock::now() < deadline) {
          if (HWND dialog = FindDialog(match)) {
            answer(dialog);
            answered_ = true;
            return;
          }
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
      }) {}

DialogAnswerer::~DialogAnswerer() { Stop(); }

bool DialogAnswerer::Wait() {
  if (thread_.joinable()) thread_.join();
  return answered_;
}

bool DialogAnswerer::Stop() {
  stop_ = true;
  return Wait();
}

void PressDialogButton(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}
