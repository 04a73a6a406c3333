// The connectivity rules, played row by row through a scripted probe.
#include "system/connectivity.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/product.h"
#include "connectivity_scripted_probe.h"

namespace {

struct Row {
  const char* name;
  bool stateResult;
  std::uint32_t stateFlags;
  const wchar_t* url;
  std::optional<bool> reachable;  // empty: the host must not be probed
  bool expected;
};

constexpr std::uint32_t kOffline = 0x20;     // INTERNET_CONNECTION_OFFLINE
constexpr std::uint32_t kConfigured = 0x40;  // INTERNET_CONNECTION_CONFIGURED
constexpr std::uint32_t kRasInstalled = 0x10;

const Row kRows[] = {
    {"FailedStateWithEveryBitSet", false, 0xFFFFFFFFu, L"http://www.drovalin.pl", std::nullopt, false},
    {"FailedStateWithLanAndEmptyUrl", false, kInternetConnectionLan, L"", std::nullopt, false},
    {"NoCountedKind", true, kOffline | kConfigured | kRasInstalled | 0xFFFFFF00u, L"http://www.drovalin.pl",
     std::nullopt, false},
    {"NoFlagsAtAll", true, 0, L"", std::nullopt, false},
    {"ModemEmptyUrl", true, kInternetConnectionModem, L"", std::nullopt, true},
    {"LanEmptyUrl", true, kInternetConnectionLan, L"", std::nullopt, true},
    {"ProxyEmptyUrl", true, kInternetConnectionProxy, L"", std::nullopt, true},
    // Wine on a machine with a network reports LAN with RAS installed.
    {"LanWithOtherBitsEmptyUrl", true, kInternetConnectionLan | kRasInstalled, L"", std::nullopt, true},
    {"LanHostAnswers", true, kInternetConnectionLan, L"http://www.drovalin.pl", true, true},
    {"LanHostSilent", true, kInternetConnectionLan, L"http://www.drovalin.pl", false, false},
    {"ModemHostSilent", true, kInternetConnectionModem | kOffline, L"http://example.invalid:8080/x", false, false},
    {"ProxyHostAnswers", true, kInternetConnectionProxy, L"http://10.0.0.1", true, true},
};

class IsInternetAvailableTest : public ::testing::TestWithParam<Row> {};

TEST_P(IsInternetAvailableTest, FollowsTheRules) {
  const Row& row = GetParam();
  ScriptedProbe probe(row.stateResult, row.stateFlags, row.reachable);

  EXPECT_EQ(IsInternetAvailable(row.url, probe), row.expected);

  EXPECT_EQ(probe.stateCalls, 1);
  if (row.reachable) {
    // Exactly the URL as given, forcing a real connection.
    EXPECT_EQ(probe.probes, (std::vector<ProbeCall>{{row.url, 0x01}}));
  } else {
    EXPECT_TRUE(probe.probes.empty()) << "host probed although the rules decide without it";
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, IsInternetAvailableTest, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ProductSiteTest, AddressesShareOneHost) {
  EXPECT_EQ(std::wstring_view(ProductSiteUrl), L"http://www.drovalin.pl");
  EXPECT_EQ(std::string_view(ProductSiteUrlA), "http://www.drovalin.pl");
  EXPECT_EQ(std::string_view(HelpPageUrl), "https://www.drovalin.pl/instalacjajpendrive.php");
}

}  // namespace
