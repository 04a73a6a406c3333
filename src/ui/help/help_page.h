// The help button: opens the help page in the default browser when the
// product site answers, or says that there is no internet access.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "system/connectivity.h"

// Two carriage returns and no line feed: the box shows an empty line
// between the two sentences.
inline constexpr wchar_t kNoInternetAccessText[] =
    L"Brak dost\u0119pu do internetu\r\rNie mog\u0119 otworzy\u0107 strony z pomoc\u0105 do programu";

// What the help button does to the user's screen.
struct HelpPageActions {
  // ShellExecuteA(owner, verb, file, parameters, directory, show). Its result
  // is not examined: a browser that does not start goes unnoticed.
  std::function<void(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                     int show)>
      shellExecute;
  // Modal box with the application title, no icon and OK.
  std::function<void(HWND owner, const std::wstring& text)> showMessage;
  // Runs once a frame while the site is being asked, which can take as long
  // as a TCP connect; whatever it raises ends the button's work at once.
  // Optional: without it the caller waits.
  std::function<void()> keepAlive;
};

// The shell and the tool's message box.
HelpPageActions PlatformHelpPageActions();

void OpenHelpPage(HWND owner, std::shared_ptr<const InternetProbe> probe, const HelpPageActions& actions);

// What `BitBtn2Click` does: asks wininet about the product site, then opens
// the page or shows the box, on behalf of `owner`.
void OpenHelpPage(HWND owner);
