#include "ui/help/help_page.h"

#include <shellapi.h>

#include <chrono>
#include <memory>
#include <utility>

#include "common/product.h"
#include "system/connectivity_wininet.h"
#include "ui/progress_log.h"
#include "ui/window/message_box.h"

HelpPageActions PlatformHelpPageActions() {
  return {
      [](HWND owner, const char* verb, const char* file, const char* parameters, const char* directory, int show) {
        ShellExecuteA(owner, verb, file, parameters, directory, show);
      },
      [](HWND owner, const std::wstring& text) { ShowMessage(owner, text); },
      nullptr,
  };
}

void OpenHelpPage(HWND owner, std::shared_ptr<const InternetProbe> probe, const HelpPageActions& actions) {
  // The check probes the plain-http site; the page itself is opened over https.
  if (IsInternetAvailableWhileAlive(ProductSiteUrl, std::move(probe), actions.keepAlive,
                                    std::chrono::milliseconds(kFrameMilliseconds))) {
    actions.shellExecute(owner, "open", HelpPageUrl, nullptr, nullptr, SW_SHOW);
  } else {
    actions.showMessage(owner, kNoInternetAccessText);
  }
}

void OpenHelpPage(HWND owner) { OpenHelpPage(owner, std::make_shared<WininetProbe>(), PlatformHelpPageActions()); }
