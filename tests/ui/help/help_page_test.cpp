// The help button's decision and exactly what it hands to the shell and to
// the message box, with the connectivity answers scripted.
#include "ui/help/help_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/product.h"
#include "system/connectivity_scripted_probe.h"

namespace {

struct ShellCall {
  HWND owner;
  std::string verb;
  std::string file;
  std::optional<std::string> parameters;
  std::optional<std::string> directory;
  int show;
};

struct BoxCall {
  HWND owner;
  std::wstring text;
};

std::optional<std::string> Text(const char* text) { return text ? std::optional<std::string>(text) : std::nullopt; }

// Records what the help button does instead of doing it.
class HelpPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A real window handle, without needing a display.
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    actions_.shellExecute = [this](HWND owner, const char* verb, const char* file, const char* parameters,
                                   const char* directory, int show) {
      shellCalls_.push_back({owner, verb, file, Text(parameters), Text(directory), show});
    };
    actions_.showMessage = [this](HWND owner, const std::wstring& text) { boxCalls_.push_back({owner, text}); };
  }
  void TearDown() override {
    if (owner_) DestroyWindow(owner_);
  }

  HWND owner_ = nullptr;
  HelpPageActions actions_;
  std::vector<ShellCall> shellCalls_;
  std::vector<BoxCall> boxCalls_;
};

TEST_F(HelpPageTest, NoAccessTextIsExact) {
  // Typed here in UTF-8, not with the escapes of the header.
  const std::wstring expected = L"Brak dostępu do internetu\r\rNie mogę otworzyć strony z pomocą do programu";
  const std::wstring text = kNoInternetAccessText;
  EXPECT_EQ(text, expected);
  EXPECT_EQ(text.size(), 72u);
  EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
  EXPECT_EQ(text.substr(25, 2), L"\r\r");
  EXPECT_EQ(text[9], L'\u0119');  // ę as one UTF-16 unit
}

struct NoAccessRow {
  const char* name;
  bool stateResult;
  std::uint32_t stateFlags;
  std::optional<bool> reachable;
};

class HelpPageNoAccessTest : public HelpPageTest, public ::testing::WithParamInterface<NoAccessRow> {};

TEST_P(HelpPageNoAccessTest, ShowsTheBoxAndStartsNoBrowser) {
  const NoAccessRow& row = GetParam();
  auto probe = std::make_shared<ScriptedProbe>(row.stateResult, row.stateFlags, row.reachable);

  OpenHelpPage(owner_, probe, actions_);

  EXPECT_TRUE(shellCalls_.empty());
  ASSERT_EQ(boxCalls_.size(), 1u);
  EXPECT_EQ(boxCalls_[0].owner, owner_);
  EXPECT_EQ(boxCalls_[0].text, kNoInternetAccessText);
  EXPECT_EQ(boxCalls_[0].text.size(), 72u);
}

const NoAccessRow kNoAccessRows[] = {
    {"StateCallFails", false, 0x02, std::nullopt},
    {"NoConnectionKind", true, 0x40, std::nullopt},
    {"SiteUnreachable", true, 0x02, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, HelpPageNoAccessTest, ::testing::ValuesIn(kNoAccessRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(HelpPageTest, WithAccessOpensTheHelpPageAndShowsNoBox) {
  auto probe = std::make_shared<ScriptedProbe>(true, 0x02, true);

  OpenHelpPage(owner_, probe, actions_);

  // The check asks about the plain-http site, forcing a connection...
  EXPECT_EQ(probe->probes, (std::vector<ProbeCall>{{L"http://www.drovalin.pl", 0x01}}));
  EXPECT_TRUE(boxCalls_.empty());
  // ...and the page opened is the https one.
  ASSERT_EQ(shellCalls_.size(), 1u);
  const ShellCall& call = shellCalls_[0];
  EXPECT_EQ(call.owner, owner_);
  EXPECT_EQ(call.verb, "open");
  EXPECT_EQ(call.file, "https://www.drovalin.pl/instalacjajpendrive.php");
  EXPECT_EQ(call.parameters, std::nullopt);
  EXPECT_EQ(call.directory, std::nullopt);
  EXPECT_EQ(call.show, 5);
}

}  // namespace
