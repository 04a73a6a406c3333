// What the taskbar button shows during a copy or download, decided from the
// lines the work writes into the progress log: the log is the one place
// every step of both reports to, so the taskbar cannot tell a different
// story from it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/progress_log.h"

enum class TaskbarState { None, Indeterminate, Normal, Error };

struct TaskbarView {
  TaskbarState state = TaskbarState::None;
  std::uint64_t completed = 0;
  std::uint64_t total = 0;
  bool operator==(const TaskbarView&) const = default;
};

// When a copy or download starts: busy, with no length known yet.
inline constexpr TaskbarView kTaskbarWorkStarted{TaskbarState::Indeterminate, 0, 0};

// The view once `line` has been written, after `before`:
//   "Kopiuję E:\dvl.exe  N bytes"           normal, 0 of N
//   "Pozostało : R bytes"                   normal, N - R of N
//   "Sprawdzam zapis E:\dvl.exe"            indeterminate
//   "Do sprawdzenia : R bytes"              normal, 0 of R the first time,
//                                           then T - R of T
//   "Ok"                                    normal, N of N
//   "Rozpoczęto pobieranie pliku"           indeterminate
//   "Pobieram dane : P %"                   normal, P of 100
//   "Pobieram dane : N bytes" (no length)   indeterminate
//   "Pobieranie pliku zakończone - Sukces"  normal, 100 of 100
//   "Błąd", "… - Niepowodzenie"             error
// Any other line (the connection's steps) leaves the view as it was, and
// nothing but the end of the work clears an error.
TaskbarView TaskbarAfterLine(const TaskbarView& before, std::wstring_view line);

// Where the view goes: the taskbar button on Windows, a recorder in tests.
class TaskbarProgress {
 public:
  virtual ~TaskbarProgress() = default;
  virtual void Show(const TaskbarView& view) = 0;
};

// The progress log as the window's work writes it, passed on unchanged to
// `log`, with the taskbar following each line. The taskbar is told only
// when its view changes.
class TaskbarLog final : public ProgressLog {
 public:
  TaskbarLog(ProgressLog& log, std::function<TaskbarProgress&()> taskbar) : log_(log), taskbar_(std::move(taskbar)) {}

  void AppendLine(const std::wstring& line) override;
  void ReplaceLastLine(const std::wstring& line) override;
  std::wstring LastLine() const override { return log_.LastLine(); }

  // A copy or download starts.
  void WorkStarted() { Set(kTaskbarWorkStarted); }
  // It failed in a way no line tells: an error box is about to show.
  void WorkFailed() { Set({TaskbarState::Error, 0, 0}); }
  // Nothing to show any more: the work is over and its outcome seen.
  void Cleared() { Set({}); }

 private:
  void Set(const TaskbarView& view);

  ProgressLog& log_;
  std::function<TaskbarProgress&()> taskbar_;
  TaskbarView view_;
};
