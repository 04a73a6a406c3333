// The connectivity rules, played row by row through a scripted probe.
#include "system/connectivity.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/product.h"
#include "connectivity_gated_probe.h"
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

using namespace std::chrono_literals;

// Opens the gate if the probe has not finished within 10 s, so that a check
// run on the caller's own thread fails the case instead of hanging it.
class Watchdog {
 public:
  explicit Watchdog(std::shared_ptr<ProbeGate> gate)
      : thread_([gate] {
          if (!gate->WaitFinished(10s)) gate->Open();
        }) {}
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  ~Watchdog() { thread_.join(); }

 private:
  std::thread thread_;
};

// The caller keeps running while the host keeps the probe waiting, and
// gets the host's answer, whichever it is, once it comes.
TEST(IsInternetAvailableWhileAliveTest, CallerRunsWhileTheHostIsProbedAndGetsItsAnswer) {
  for (const bool reachable : {true, false}) {
    SCOPED_TRACE(reachable ? "host answers" : "host silent");
    auto gate = std::make_shared<ProbeGate>();
    Watchdog watchdog(gate);
    int turnsDuringTheProbe = 0;
    const auto keepAlive = [&] {
      if (gate->WaitEntered(0ms) && !gate->Finished() && ++turnsDuringTheProbe == 3) gate->Open();
    };

    EXPECT_EQ(
        IsInternetAvailableWhileAlive(ProductSiteUrl, std::make_shared<GatedProbe>(gate, reachable), keepAlive, 1ms),
        reachable);
    EXPECT_GE(turnsDuringTheProbe, 3) << "the caller did not run while the host was probed";
    EXPECT_TRUE(gate->Finished());
  }
}

// A stop raised by keepAlive leaves at once, while the host is still being
// probed; the probe then ends on its own, after the caller's URL and its
// share of the probe have gone (the sanitizers see any borrowed one).
TEST(IsInternetAvailableWhileAliveTest, StopLeavesAtOnceAndTheProbeEndsOnItsOwn) {
  struct Stopped {};
  auto gate = std::make_shared<ProbeGate>();
  Watchdog watchdog(gate);
  int turns = 0;
  {
    auto probe = std::make_shared<GatedProbe>(gate, true);
    std::wstring url = ProductSiteUrl;
    const auto stopOnceProbing = [&] {
      ++turns;
      if (gate->WaitEntered(0ms)) throw Stopped{};
    };
    EXPECT_THROW(IsInternetAvailableWhileAlive(url, probe, stopOnceProbing, 1ms), Stopped);
    EXPECT_FALSE(gate->Finished()) << "the caller waited for the host";
    url.assign(64, L'x');
  }
  EXPECT_GE(turns, 1);
  gate->Open();
  EXPECT_TRUE(gate->WaitFinished(10s));
}

// Without keepAlive the caller simply waits for the answer.
TEST(IsInternetAvailableWhileAliveTest, WithoutKeepAliveWaitsForTheAnswer) {
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    auto probe = std::make_shared<ScriptedProbe>(row.stateResult, row.stateFlags, row.reachable);
    EXPECT_EQ(IsInternetAvailableWhileAlive(row.url, probe, nullptr, 1ms), row.expected);
    EXPECT_EQ(probe->stateCalls, 1);
  }
}

TEST(ProductSiteTest, AddressesShareOneHost) {
  EXPECT_EQ(std::wstring_view(ProductSiteUrl), L"http://www.drovalin.pl");
  EXPECT_EQ(std::string_view(ProductSiteUrlA), "http://www.drovalin.pl");
  EXPECT_EQ(std::string_view(HelpPageUrl), "https://www.drovalin.pl/instalacjajpendrive.php");
}

}  // namespace
