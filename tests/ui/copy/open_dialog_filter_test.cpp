// The open-file dialog's filter settings as the platform reads them.
#include <gtest/gtest.h>

#include <string>

#include "ui/copy/open_dialog_filter.h"

namespace {

TEST(DialogFilterTest, PipesBecomeZerosClosedByTwoZeros) {
  const std::wstring list = DialogFilterList(L"Aplikacje|*.exe|Wszystkie pliki|*.*");
  const wchar_t expected[] = L"Aplikacje\0*.exe\0Wszystkie pliki\0*.*\0\0";
  EXPECT_EQ(list, std::wstring(expected, sizeof(expected) / sizeof(wchar_t) - 1));
  EXPECT_EQ(DialogFilterList(L""), std::wstring(2, L'\0'));

  EXPECT_EQ(DialogFilterIndex(0), 1u);
  EXPECT_EQ(DialogFilterIndex(1), 1u);
  EXPECT_EQ(DialogFilterIndex(2), 2u);
  EXPECT_EQ(DialogFilterIndex(-3), 1u);
}

}  // namespace
