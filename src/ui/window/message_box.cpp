#include "ui/window/message_box.h"

#include "common/product.h"
#include "ui/window/error_text.h"

void ShowMessage(HWND owner, const std::wstring& text) {
  MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_OK | MB_TASKMODAL);
}

void ShowErrorMessage(HWND owner, const std::wstring& text) {
  const std::wstring shown = ErrorBoxText(text);
  MessageBoxW(owner, shown.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

bool AskYesNo(HWND owner, const std::wstring& text) {
  return MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES;
}
