#include "ui/taskbar_button.h"

TaskbarButton::~TaskbarButton() {
  list_.reset();
  if (uninitialize_) CoUninitialize();
}

ITaskbarList3* TaskbarButton::List() {
  if (asked_) return list_.get();
  asked_ = true;
  const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE too: COM was on already, and each success is balanced.
  uninitialize_ = SUCCEEDED(initialized);
  ITaskbarList3* list = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              reinterpret_cast<void**>(&list)))) {
    return nullptr;
  }
  list_.reset(list);
  if (FAILED(list_->HrInit())) list_.reset();
  return list_.get();
}

void TaskbarButton::Show(const TaskbarView& view) {
  ITaskbarList3* list = List();
  if (list == nullptr) return;
  switch (view.state) {
    case TaskbarState::None:
      list->SetProgressState(window_, TBPF_NOPROGRESS);
      break;
    case TaskbarState::Indeterminate:
      list->SetProgressState(window_, TBPF_INDETERMINATE);
      break;
    case TaskbarState::Normal:
      list->SetProgressState(window_, TBPF_NORMAL);
      list->SetProgressValue(window_, view.completed, view.total);
      break;
    case TaskbarState::Error:
      // A full red bar: the error state alone would show at the last value.
      list->SetProgressState(window_, TBPF_ERROR);
      list->SetProgressValue(window_, 1, 1);
      break;
  }
}
