// The help button as the window calls it, with the real wininet, shell and
// message box, in a private network made by scripts/netns-run where the
// product host resolves to 127.0.0.1.
#include "ui/help/help_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "common/product.h"
#include "dialog_answerer.h"
#include "system/win32.h"

namespace {

struct SeenBox {
  std::wstring caption;
  std::vector<std::wstring> texts;  // every visible text control
  std::vector<int> buttons;         // ids of the visible buttons
  bool iconShown = false;
};

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK AddControl(HWND child, LPARAM param) {
  auto& into = *reinterpret_cast<SeenBox*>(param);
  if (!IsWindowVisible(child)) return TRUE;
  const std::wstring cls = ClassName(child);
  if (_wcsicmp(cls.c_str(), L"Static") == 0) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
      if (SendMessageW(child, STM_GETICON, 0, 0) != 0) into.iconShown = true;
    } else {
      into.texts.push_back(WindowText(child));
    }
  } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    into.buttons.push_back(GetDlgCtrlID(child));
  }
  return TRUE;
}

SeenBox Describe(HWND box) {
  SeenBox seen;
  seen.caption = WindowText(box);
  EnumChildWindows(box, AddControl, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

// Watches the calling thread for a dialog box while the help button runs;
// describes the first one it sees and presses its OK button.
class BoxWatcher {
 public:
  BoxWatcher()
      : answerer_(
            DialogAnswerer::Match{L"", GetCurrentThreadId()},
            [this](HWND box) {
              seen_ = Describe(box);
              PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            },
            std::chrono::seconds(60)) {}

  // Returns the box seen, if any.
  std::optional<SeenBox> Stop() {
    answerer_.Stop();
    return seen_;
  }

 private:
  std::optional<SeenBox> seen_;
  DialogAnswerer answerer_;
};

class PrivateNetwork : public ::testing::Test {
 protected:
  void SetUp() override {
    // Outside the private network the check would reach the real site.
    ASSERT_GT(GetEnvironmentVariableW(L"MPI_PRIVATE_NETWORK", nullptr, 0), 0u) << "run through scripts/netns-run only";
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    if (owner_) DestroyWindow(owner_);
  }

  HWND owner_ = nullptr;
};

using PrivateNetworkWithServer = PrivateNetwork;
using PrivateNetworkWithoutServer = PrivateNetwork;

TEST_F(PrivateNetworkWithoutServer, HelpButtonShowsTheNoAccessBox) {
  BoxWatcher watcher;
  OpenHelpPage(owner_);
  const std::optional<SeenBox> box = watcher.Stop();

  ASSERT_TRUE(box.has_value()) << "no message box appeared";
  EXPECT_EQ(box->caption, kApplicationTitle);
  EXPECT_EQ(box->texts, std::vector<std::wstring>{kNoInternetAccessText});
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(box->iconShown);
}

TEST_F(PrivateNetworkWithServer, HelpButtonShowsNoBox) {
  BoxWatcher watcher;
  OpenHelpPage(owner_);
  const std::optional<SeenBox> box = watcher.Stop();

  EXPECT_FALSE(box.has_value()) << "a box appeared: " << testing::PrintToString(box->texts);
}

}  // namespace
