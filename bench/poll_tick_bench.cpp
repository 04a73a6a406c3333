// Cost of the poll cycle: one tick with 0, 2 and 8 removable drives, and the
// tool idling in its event loop, each against a minimal Win32 window that
// only pumps messages, measured in the same run.
//   poll_tick_bench [idle seconds, default 60; 0 skips the idle part]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ui/MakePendriveInstalableMainForm.h"
#include "ui/window/window.h"
#include "wine_drives.h"

namespace {

// CPU time (user + kernel) of this thread, in microseconds.
double ThreadCpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10.0;
  };
  return value(kernel) + value(user);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// CPU time per call of `work`, as the median over batches: the thread clock
// is too coarse to time a single call (10 ms steps under Wine), so a batch
// is made long enough to span many steps.
template <typename Work>
double MedianCpuPerCall(Work&& work, int batches = 15) {
  constexpr double kBatchMicroseconds = 200000;
  int perBatch = 1;
  for (;;) {
    const double start = ThreadCpuMicroseconds();
    for (int i = 0; i < perBatch; ++i) work();
    if (ThreadCpuMicroseconds() - start >= kBatchMicroseconds / 4 || perBatch >= (1 << 22)) break;
    perBatch *= 2;
  }
  perBatch *= 4;
  std::vector<double> samples;
  for (int b = 0; b < batches; ++b) {
    const double start = ThreadCpuMicroseconds();
    for (int i = 0; i < perBatch; ++i) work();
    samples.push_back((ThreadCpuMicroseconds() - start) / perBatch);
  }
  return Median(samples);
}

// The reference: a plain window whose procedure does nothing, driven by its
// own message pump.
class MinimalWindow {
 public:
  MinimalWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MinimalPump";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowW(L"MinimalPump", L"reference", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                          wc.hInstance, nullptr);
  }
  ~MinimalWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  // One timer message through the pump, as one idle second of it costs.
  void OneTimerMessage() const {
    PostMessageW(hwnd_, WM_TIMER, 1, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

 private:
  HWND hwnd_ = nullptr;
};

void CALLBACK EndLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

// Runs a message loop for `seconds`, ended by a thread timer; returns the
// thread's CPU time in microseconds.
template <typename Loop>
double CpuOfLoop(int seconds, Loop&& loop) {
  const UINT_PTR stop = SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, EndLoop);
  const double start = ThreadCpuMicroseconds();
  loop();
  const double used = ThreadCpuMicroseconds() - start;
  KillTimer(nullptr, stop);
  return used;
}

void PumpUntilQuit() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 60;
  const MinimalWindow reference;
  const double referenceMessage = MedianCpuPerCall([&] { reference.OneTimerMessage(); });

  std::printf("poll tick, median CPU time per tick (reference: one message through a minimal pump, %.1f us)\n",
              referenceMessage);
  std::vector<wine_drives::Drive> drives;
  const wchar_t letters[] = L"EFGHIJKL";
  for (int count : {0, 2, 8}) {
    while (static_cast<int>(drives.size()) < count) {
      const wchar_t letter = letters[drives.size()];
      drives.push_back(wine_drives::Drive::RemovableWithLabel(letter, "BENCH" + std::to_string(drives.size())));
    }
    TForm1 form;
    form.MainTimerTimer();  // the first tick moves the window; time the steady ones
    const double tick = MedianCpuPerCall([&] { form.MainTimerTimer(); });
    std::printf("  %d removable drives: %9.1f us   %8.1fx reference\n", count, tick,
                referenceMessage > 0 ? tick / referenceMessage : 0.0);
  }

  if (idleSeconds > 0) {
    std::printf("idle for %d s with %zu removable drives, CPU time of the UI thread\n", idleSeconds, drives.size());
    double toolCpu = 0;
    {
      TForm1 form;
      form.Show();
      toolCpu = CpuOfLoop(idleSeconds, [&] { RunMessageLoop(form); });
    }
    const double referenceCpu = CpuOfLoop(idleSeconds, PumpUntilQuit);
    std::printf("  tool:      %10.0f us (%.3f%% of one core)\n", toolCpu, toolCpu / (idleSeconds * 1e4));
    std::printf("  reference: %10.0f us (%.3f%% of one core)\n", referenceCpu, referenceCpu / (idleSeconds * 1e4));
    if (referenceCpu > 0) {
      std::printf("  ratio:     %10.1fx\n", toolCpu / referenceCpu);
    } else {
      std::printf("  ratio:     n/a (the reference used less than one step of the thread clock)\n");
    }
  }
  return 0;
}
