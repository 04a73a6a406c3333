// Entry point: the application title, the main window Form1 and the event
// loop, which ends when the window has been closed.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "app/application_window.h"
#include "ui/MakePendriveInstalableMainForm.h"
#include "ui/message_box.h"
#include "ui/message_loop.h"
#include "ui/texts.h"

std::unique_ptr<TForm1> Form1;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    ApplicationWindow application(kApplicationTitle);
    Form1 = std::make_unique<TForm1>(application.hwnd());
    application.Show();
    Form1->Show();
    const int exitCode = RunMessageLoop(*Form1);
    Form1.reset();
    return exitCode;
  } catch (const std::exception& error) {
    // Only the start can fail here; handlers report their own errors.
    ShowErrorMessage(nullptr, std::wstring(error.what(), error.what() + std::strlen(error.what())));
    return 1;
  }
}
