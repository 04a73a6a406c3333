// The real window with what it would show or ask answered by the test: its
// message boxes are recorded with the state of the buttons and the poll
// timer at that moment, the installer file is "picked" from a script, and
// the internet answers as scripted.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "system/connectivity_scripted_probe.h"
#include "ui/MakePendriveInstalableMainForm.h"

class CopyActionForm : public TForm1 {
 public:
  struct Box {
    std::wstring text;
    bool timerOn;
    bool closeEnabled;
    bool copyEnabled;
    TaskbarState taskbar;  // what the taskbar button showed meanwhile
  };

  class RecordingTaskbar final : public TaskbarProgress {
   public:
    void Show(const TaskbarView& view) override { shown.push_back(view); }
    TaskbarState Now() const { return shown.empty() ? TaskbarState::None : shown.back().state; }
    std::vector<TaskbarView> shown;
  };

  class Chooser final : public FileChooser {
   public:
    std::optional<std::wstring> Choose(const FileChooserSetup& setup) override {
      setups.push_back(setup);
      return answer;
    }
    std::optional<std::wstring> answer;
    std::vector<FileChooserSetup> setups;
  };

  std::vector<Box> boxes;
  Chooser chooser;
  RecordingTaskbar taskbar;
  // Offline unless a test says otherwise, so that no case reaches for the
  // real network by mistake.
  std::shared_ptr<InternetProbe> probe = std::make_shared<ScriptedProbe>(false, 0, std::nullopt);
  // Answers to "stop the work and close?", in turn; no answer left is No.
  std::vector<bool> stopAnswers;
  int stopQuestions = 0;
  // Runs when the question is asked, before it is answered.
  std::function<void()> whenAskedToStop;

 protected:
  void ShowMessageBox(const std::wstring& text) override {
    boxes.push_back({text, MainTimer.Enabled(), BitBtnKoniec.Enabled(), BitBtn1.Enabled(), taskbar.Now()});
  }
  TaskbarProgress& Taskbar() override { return taskbar; }
  FileChooser& InstallerFileChooser() override { return chooser; }
  std::shared_ptr<const InternetProbe> InternetAccess() const override { return probe; }
  bool AskToStopWork() override {
    if (whenAskedToStop) whenAskedToStop();
    const auto asked = static_cast<std::size_t>(stopQuestions++);
    return asked < stopAnswers.size() && stopAnswers[asked];
  }
};
