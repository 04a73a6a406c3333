#include "ui/window/error_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorBoxTextTest, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  struct Case {
    std::wstring message;
    std::wstring shown;
  } cases[] = {
      {L"Not Found", L"Not Found."},
      {L"Read timed out.", L"Read timed out."},
      {L"rate 50%", L"rate 50%"},  // '%' sorts before '.'
      {L"a-", L"a-"},              // '-' is the character right before '.'
      {L"path/", L"path/."},       // '/' is the one right after
      {L"Socket Error # 10061\r\nConnection refused", L"Socket Error # 10061\r\nConnection refused."},
      {L"Błąd", L"Błąd."},
      {L"zażółć", L"zażółć."},  // beyond ASCII sorts after '.'
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.shown);
}

}  // namespace
