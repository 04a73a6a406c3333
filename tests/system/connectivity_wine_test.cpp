// The connectivity check with the real wininet calls, in a private network
// made by scripts/netns-run: the product host resolves to 127.0.0.1, where a
// server listens or nothing does.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/product.h"
#include "system/connectivity.h"
#include "system/connectivity_wininet.h"

namespace {

class PrivateNetwork : public ::testing::Test {
 protected:
  void SetUp() override {
    // Outside the private network these calls would reach the real site.
    ASSERT_GT(GetEnvironmentVariableW(L"MPI_PRIVATE_NETWORK", nullptr, 0), 0u) << "run through scripts/netns-run only";
  }

  // The namespace's veth pair with its default route makes Wine call the
  // machine online over LAN; a false result below then comes from the probe.
  static void ExpectOnlineOverLan() {
    std::uint32_t flags = 0;
    ASSERT_TRUE(WininetProbe{}.ConnectedState(flags));
    EXPECT_NE(flags & kInternetConnectionLan, 0u) << std::hex << flags;
    EXPECT_TRUE(IsInternetAvailable(L""));
  }
};

using PrivateNetworkWithServer = PrivateNetwork;
using PrivateNetworkWithoutServer = PrivateNetwork;

TEST_F(PrivateNetworkWithServer, ProductSiteIsAvailable) {
  ExpectOnlineOverLan();
  EXPECT_TRUE(IsInternetAvailable(ProductSiteUrl));
}

TEST_F(PrivateNetworkWithoutServer, ProductSiteIsNotAvailable) {
  ExpectOnlineOverLan();
  EXPECT_FALSE(IsInternetAvailable(ProductSiteUrl));
}

}  // namespace
