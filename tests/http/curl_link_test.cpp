// Proves that the libcurl this flavour links against is usable: the version
// it reports, plain HTTP without TLS, and a transfer's error path.
#include <curl/curl.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(CurlLinkTest, ProvidesHttpAndStartsAnEasyHandle) {
  ASSERT_EQ(curl_global_init(CURL_GLOBAL_DEFAULT), CURLE_OK);
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  ASSERT_NE(info, nullptr);
  bool http = false;
  for (const char* const* p = info->protocols; *p != nullptr; ++p) {
    if (std::strcmp(*p, "http") == 0) http = true;
  }
  EXPECT_TRUE(http);

  CURL* easy = curl_easy_init();
  ASSERT_NE(easy, nullptr);
  curl_easy_setopt(easy, CURLOPT_URL, "http://127.0.0.1:1/");
  curl_easy_setopt(easy, CURLOPT_PROXY, "");
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, 5000L);
  // Port 1 is closed on loopback: the transfer must fail to connect, not hang.
  EXPECT_EQ(curl_easy_perform(easy), CURLE_COULDNT_CONNECT);
  curl_easy_cleanup(easy);
  curl_global_cleanup();
}

}  // namespace
