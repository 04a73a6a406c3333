#include "ui/message_loop.h"

#include <windows.h>

#include "ui/MakePendriveInstalableMainForm.h"

int RunMessageLoop(TForm1& form) {
  MSG msg{};
  while (!form.QuitRequested()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    form.TranslateAndDispatch(msg);
  }
  return 0;
}
