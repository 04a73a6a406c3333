// The taskbar button's progress (ITaskbarList3, Windows 7 and later). Where
// the system has none (Vista, or Wine, whose taskbar list is a stub that
// does nothing), the tool simply shows none.
#pragma once

#include <windows.h>

#include <shobjidl.h>

#include <memory>

#include "ui/taskbar_rules.h"

class TaskbarButton final : public TaskbarProgress {
 public:
  // `window` is the window the taskbar button belongs to.
  explicit TaskbarButton(HWND window) : window_(window) {}
  ~TaskbarButton() override;
  TaskbarButton(const TaskbarButton&) = delete;
  TaskbarButton& operator=(const TaskbarButton&) = delete;

  void Show(const TaskbarView& view) override;

 private:
  struct Release {
    void operator()(ITaskbarList3* list) const { list->Release(); }
  };
  // Asked for at the first use, when the button surely exists.
  ITaskbarList3* List();

  HWND window_;
  bool asked_ = false;
  bool uninitialize_ = false;  // this object initialised COM on the thread
  std::unique_ptr<ITaskbarList3, Release> list_;
};
