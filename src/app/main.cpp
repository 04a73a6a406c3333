// Entry point: the application title, the main window Form1 and the event
// loop, which ends when the window has been closed.
#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <memory>

#include "app/application_window.h"
#include "common/product.h"
#include "http/http_client.h"
#include "system/win32.h"
#include "ui/MakePendriveInstalableMainForm.h"
#include "ui/window/message_box.h"

std::unique_ptr<TForm1> Form1;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    // Before any window: libcurl's global state is set up once, while only
    // one thread runs, and torn down after the last client has gone.
    const HttpLibrary http;
    ApplicationWindow application(kApplicationTitle);
    // The window and its HTTP client go before the application window that
    // owns it and before libcurl's global state, also when the start fails
    // half-way.
    struct ReleaseForm {
      ~ReleaseForm() { Form1.reset(); }
    } releaseForm;
    Form1 = std::make_unique<TForm1>(application.hwnd());
    application.Show();
    Form1->Show();
    return RunMessageLoop(*Form1);
  } catch (const std::exception& error) {
    // Only the start can fail here; handlers report their own errors.
    ShowErrorMessage(nullptr, WideText(error.what()));
    return 1;
  }
}
