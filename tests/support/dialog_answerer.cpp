#include "dialog_answerer.h"

#include <utility>

namespace {

struct Search {
  const DialogAnswerer::Match* match;
  HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || std::wstring(className) != L"#32770" || !IsWindowVisible(window)) {
    return TRUE;
  }
  if (!(*search.match)(window)) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

DialogAnswerer::DialogAnswerer(Match match, Answer answer, std::chrono::milliseconds patience)
    : thread_([this, match = std::move(match), answer = std::move(answer), patience] {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (!stop_ && std::chrono::steady_clock::now() < deadline) {
          Search search{&match};
          EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
          if (search.found != nullptr) {
            answer(search.found);
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

DialogAnswerer::Match DialogAnswerer::Titled(std::wstring title) {
  return [title = std::move(title)](HWND dialog) { return TextOfWindow(dialog) == title; };
}

DialogAnswerer::Match DialogAnswerer::OfThread(DWORD threadId) {
  return [threadId](HWND dialog) { return GetWindowThreadProcessId(dialog, nullptr) == threadId; };
}

void PressDialogButton(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

std::wstring TextOfWindow(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}
