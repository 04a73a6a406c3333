// The taskbar follows the log: each run of lines a copy or download writes,
// and the view it leaves after each line.
#include "ui/taskbar_rules.h"

#include <gtest/gtest.h>

#include "recording_log.h"

#include <string>
#include <vector>

namespace {

using State = TaskbarState;

struct Step {
  std::wstring line;
  TaskbarView after;
};

struct Run {
  const char* name;
  std::vector<Step> steps;
};

const Run kRuns[] = {
    {"CopyThatEndsOk",
     {{L"Kopiuję E:\\dvl.exe  5000 bytes", {State::Normal, 0, 5000}},
      {L"Pozostało : 3000 bytes", {State::Normal, 2000, 5000}},
      {L"Pozostało : 0 bytes", {State::Normal, 5000, 5000}},
      {L"Sprawdzam zapis E:\\dvl.exe", kTaskbarWorkStarted},
      {L"Do sprawdzenia : 5000 bytes", {State::Normal, 0, 5000}},
      {L"Do sprawdzenia : 1000 bytes", {State::Normal, 4000, 5000}},
      {L"Do sprawdzenia : 0 bytes", {State::Normal, 5000, 5000}},
      {L"SHA-256 : 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08", {State::Normal, 5000, 5000}},
      {L"Ok", {State::Normal, 5000, 5000}}}},
    {"CheckThatFindsOtherBytes",
     {{L"Pobieram dane : 100 %", {State::Normal, 100, 100}},
      {L"Sprawdzam zapis E:\\dvl.exe", kTaskbarWorkStarted},
      {L"Do sprawdzenia : 300001 bytes", {State::Normal, 0, 300001}},
      {L"Do sprawdzenia : 300002 bytes", {State::Normal, 0, 300001}},
      {L"Do sprawdzenia : 1 bytes", {State::Normal, 300000, 300001}},
      {L"Pobieranie pliku zakończone - Niepowodzenie", {State::Error, 0, 0}}}},
    {"CopyThatFails",
     {{L"Kopiuję E:\\dvl.exe  5000 bytes", {State::Normal, 0, 5000}},
      {L"Pozostało : 3000 bytes", {State::Normal, 2000, 5000}},
      {L"Błąd", {State::Error, 0, 0}},
      {L"Ok", {State::Error, 0, 0}}}},
    {"DownloadWithALength",
     {{L"Pobieram : dvl.exe", kTaskbarWorkStarted},
      {L"Connecting to 127.0.0.1.", kTaskbarWorkStarted},
      {L"Rozpoczęto pobieranie pliku", kTaskbarWorkStarted},
      {L"Pobieram dane : 0 %", {State::Normal, 0, 100}},
      {L"Pobieram dane : 57 %", {State::Normal, 57, 100}},
      {L"Disconnected.", {State::Normal, 57, 100}},
      {L"Pobieranie pliku zakończone - Sukces", {State::Normal, 100, 100}}}},
    {"DownloadWithoutALength",
     {{L"Rozpoczęto pobieranie pliku", kTaskbarWorkStarted},
      {L"Pobieram dane : 4096 bytes", kTaskbarWorkStarted},
      {L"Pobieranie pliku zakończone - Sukces", {State::Normal, 100, 100}}}},
    {"DownloadCutShort",
     {{L"Pobieram dane : 50 %", {State::Normal, 50, 100}},
      {L"Pobieranie pliku zakończone - Niepowodzenie", {State::Error, 0, 0}},
      {L"Rozpoczęto pobieranie pliku", {State::Error, 0, 0}}}},
    // Lines that only look like progress change nothing they cannot back.
    {"OddLinesAreNoProgress",
     {{L"Kopiuję E:\\my 2 files\\dvl.exe  77 bytes", {State::Normal, 0, 77}},
      {L"Pozostało : 78 bytes", {State::Normal, 0, 77}},
      {L"Pozostało : x bytes", {State::Normal, 0, 77}},
      {L"Pobieram dane : 101 %", kTaskbarWorkStarted},
      {L"Pobieram dane : 99999999999999999999999 %", kTaskbarWorkStarted}}},
};

class TaskbarRun : public testing::TestWithParam<Run> {};

TEST_P(TaskbarRun, EachLineLeavesItsView) {
  TaskbarView view = kTaskbarWorkStarted;
  for (const Step& step : GetParam().steps) {
    view = TaskbarAfterLine(view, step.line);
    EXPECT_TRUE(view == step.after) << "after \"" << std::string(step.line.begin(), step.line.end()) << "\": state "
                                    << static_cast<int>(view.state) << ", " << view.completed << " of " << view.total;
  }
}

INSTANTIATE_TEST_SUITE_P(Lines, TaskbarRun, testing::ValuesIn(kRuns),
                         [](const testing::TestParamInfo<Run>& run) { return std::string(run.param.name); });

class RecordingTaskbar final : public TaskbarProgress {
 public:
  void Show(const TaskbarView& view) override { shown.push_back(view); }
  std::vector<TaskbarView> shown;
};

// The log goes on unchanged; the taskbar hears of each change once, and
// the error stays until the work's end has been seen.
TEST(TaskbarLogTest, PassesTheLinesOnAndTellsTheTaskbarEachChangeOnce) {
  std::vector<std::wstring> events;
  RecordingLog memo(events);
  RecordingTaskbar taskbar;
  TaskbarLog log(memo, [&]() -> TaskbarProgress& { return taskbar; });

  log.WorkStarted();
  log.AppendLine(L"Pobieram : dvl.exe");
  log.AppendLine(L"Rozpoczęto pobieranie pliku");
  log.AppendLine(L"Pobieram dane : 10 %");
  log.ReplaceLastLine(L"Pobieram dane : 10 %");
  log.ReplaceLastLine(L"Pobieram dane : 60 %");
  log.AppendLine(L"Pobieranie pliku zakończone - Niepowodzenie");
  log.WorkFailed();
  EXPECT_EQ(log.LastLine(), L"Pobieranie pliku zakończone - Niepowodzenie");
  log.Cleared();
  log.Cleared();

  EXPECT_EQ(events,
            (std::vector<std::wstring>{L"+Pobieram : dvl.exe", L"+Rozpoczęto pobieranie pliku",
                                       L"+Pobieram dane : 10 %", L"=Pobieram dane : 10 %", L"=Pobieram dane : 60 %",
                                       L"+Pobieranie pliku zakończone - Niepowodzenie"}));
  const std::vector<TaskbarView> expected{
      kTaskbarWorkStarted, {State::Normal, 10, 100}, {State::Normal, 60, 100}, {State::Error, 0, 0}, {}};
  EXPECT_TRUE(taskbar.shown == expected) << taskbar.shown.size() << " views shown";
}

}  // namespace
