#include "form_fixture.h"

#include <chrono>

#include "common/product.h"

void FormTest::SetUp() { Restart(); }

void FormTest::Restart() {
  form.reset();
  QuitPosted();
  form = std::make_unique<RecordingForm>();
  window = form->Handle();
  form->Show();
  Pump();
}

void FormTest::TearDown() {
  form.reset();
  QuitPosted();
}

bool FormTest::QuitPosted() {
  MSG msg;
  bool seen = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT)
      seen = true;
    else
      DispatchMessageW(&msg);
  }
  return seen;
}

void FormTest::PressKey(UINT vk) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  HWND target = GetFocus() != nullptr ? GetFocus() : window;
  PostMessageW(target, WM_KEYDOWN, vk, 1 | scan);
  PostMessageW(target, WM_KEYUP, vk, 1 | scan | (1u << 30) | (1u << 31));
  Pump();
}

void FormTest::PressAltKey(wchar_t character) {
  HWND target = GetFocus() != nullptr ? GetFocus() : window;
  // What TranslateMessage makes of Alt+key: a system character with the
  // context bit (Alt held) set.
  PostMessageW(target, WM_SYSCHAR, character, 1 | (1 << 29));
  Pump();
}

RECT FormTest::PlaceOf(const Control& control) const {
  RECT r{};
  GetWindowRect(control.hwnd(), &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE FormTest::ClientSize() const {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

MessageBoxAnswerer::MessageBoxAnswerer()
    : answerer_(DialogAnswerer::Match{kApplicationTitle}, [this](HWND box) {
        // The message text is the box's static with id 0xFFFF; the icon's
        // static has id 0x14 on Windows, 0x440 under Wine.
        wchar_t buffer[512] = {};
        GetDlgItemTextW(box, 0xFFFF, buffer, 512);
        text = buffer;
        HWND icon = GetDlgItem(box, 0x14) != nullptr ? GetDlgItem(box, 0x14) : GetDlgItem(box, 0x440);
        errorIcon = icon != nullptr && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }) {}
