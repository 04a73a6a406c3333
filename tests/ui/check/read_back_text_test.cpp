// The read-back check's log lines and error boxes, spelt out here.
#include "ui/check/read_back_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadBackTextTest, LogLines) {
  EXPECT_EQ(ReadBackStartLine(L"E:\\dvl.exe"), L"Sprawdzam zapis E:\\dvl.exe");
  EXPECT_EQ(ReadBackRemainingLine(3145728), L"Do sprawdzenia : 3145728 bytes");
  EXPECT_EQ(ReadBackRemainingLine(0), L"Do sprawdzenia : 0 bytes");
  // Sizes past 4 GiB are not cut to 32 bits.
  EXPECT_EQ(ReadBackRemainingLine(5000000000), L"Do sprawdzenia : 5000000000 bytes");
  EXPECT_EQ(ReadBackDigestLine(L"ba7816bf"), L"SHA-256 : ba7816bf");
}

TEST(ReadBackTextTest, ErrorBoxesSayWhatHappenedAndThatNothingWasReplaced) {
  EXPECT_EQ(ReadBackMismatchText(L"E:\\dvl.exe"),
            L"Dysk odda\u0142 inne dane ni\u017c zapisane do E:\\dvl.exe. Mo\u017ce by\u0107 uszkodzony albo "
            L"podrobiony (mie\u015bci mniej, ni\u017c podaje).\r\n"
            L"Nowy instalator nie zosta\u0142 zapisany; to, co by\u0142o na dysku, pozosta\u0142o bez zmian.");
  EXPECT_EQ(ReadBackFailedText(L"F:\\dvl.exe", L"B\u0142\u0105d danych (CRC)."),
            L"Nie mo\u017cna odczyta\u0107 z dysku zapisanego F:\\dvl.exe: B\u0142\u0105d danych (CRC).\r\n"
            L"Dysk mo\u017ce by\u0107 uszkodzony.\r\n"
            L"Nowy instalator nie zosta\u0142 zapisany; to, co by\u0142o na dysku, pozosta\u0142o bez zmian.");
}

}  // namespace
