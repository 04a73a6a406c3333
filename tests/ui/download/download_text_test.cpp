// The download's texts and arithmetic, natively with sanitizers and under
// Wine (where the percentage runs on the x87 unit and the upper-casing is
// the platform's).
#include "ui/download/download_text.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();

struct PercentageCase {
  std::int32_t received;
  std::int32_t expected;
  std::int64_t percentage;
};

// Exact halves go to the even neighbour. The cases of 23 of 40, 59 of 200
// and 109 of 200 come out differently in double precision (57, 30 and 55):
// they hold only when the quotient is taken with a 64-bit mantissa.
const PercentageCase kPercentages[] = {
    {0, 8, 0},
    {1, 8, 12},
    {3, 8, 38},
    {4, 8, 50},
    {5, 8, 62},
    {7, 8, 88},
    {8, 8, 100},
    {1, 3, 33},
    {2, 3, 67},
    {1, 200, 0},
    {3, 200, 2},
    {5, 200, 2},
    {23, 40, 58},
    {59, 200, 29},
    {109, 200, 54},
    {-1, 8, -12},
    {3, -8, -38},
    {kMax32, kMax32, 100},
    {1, kMax32, 0},
    {kMax32, 1, 214748364700},
    {kMin32, 1, -214748364800},
    {kMin32, -1, 214748364800},
    {9, 8, 112},  // more than announced: shown as it is
};

TEST(DownloadPercentage, RoundsExactHalvesToEvenInExtendedPrecision) {
  for (const PercentageCase& c : kPercentages) {
    EXPECT_EQ(DownloadPercentage(c.received, c.expected), c.percentage) << c.received << " of " << c.expected;
  }
}

TEST(DownloadPercentage, ShownPercentageStaysBetweenZeroAndAHundred) {
  EXPECT_EQ(ShownPercentage(9, 8), 100);
  EXPECT_EQ(ShownPercentage(-1, 8), 0);
  EXPECT_EQ(ShownPercentage(3, 8), 38);
  EXPECT_EQ(ShownPercentage(std::int64_t{3} << 31, std::int64_t{1} << 33), 75);
  EXPECT_EQ(ShownPercentage((std::int64_t{1} << 32) + 1000, (std::int64_t{1} << 32) + 1000), 100);
}

TEST(DownloadPercentage, IgnoresAndKeepsTheCallersRoundingMode) {
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    for (const PercentageCase& c : kPercentages) {
      EXPECT_EQ(DownloadPercentage(c.received, c.expected), c.percentage)
          << c.received << " of " << c.expected << " in mode " << mode;
    }
    EXPECT_EQ(std::fegetround(), mode);
  }
  std::fesetround(FE_TONEAREST);
}

TEST(DownloadLines, ProgressLines) {
  EXPECT_EQ(PercentageLine(38), L"Pobieram dane : 38 %");
  EXPECT_EQ(PercentageLine(100), L"Pobieram dane : 100 %");
  EXPECT_EQ(PercentageLine(-12), L"Pobieram dane : -12 %");
  EXPECT_EQ(ReceivedBytesLine(70000), L"Pobieram dane : 70000 bytes");
  EXPECT_EQ(ReceivedBytesLine(5000000000), L"Pobieram dane : 5000000000 bytes");
}

TEST(DownloadLines, FixedTexts) {
  EXPECT_EQ(NoInternetAccessText(L"dvl.exe"), L"Brak dost\u0119pu do internetu\r\rNie mog\u0119 pobra\u0107 dvl.exe");
  EXPECT_EQ(DownloadingLine(L"dvl.exe"), L"Pobieram : dvl.exe");
  EXPECT_EQ(DownloadStartLine(), L"Rozpocz\u0119to pobieranie pliku");
  EXPECT_EQ(RedirectLine(L"/files/dvl.exe", L"GET"), L"/files/dvl.exe - GET");
  EXPECT_EQ(DownloadEndLine(true), L"Pobieranie pliku zako\u0144czone - Sukces");
  EXPECT_EQ(DownloadEndLine(false), L"Pobieranie pliku zako\u0144czone - Niepowodzenie");
  EXPECT_EQ(DownloadUrl("http://www.drovalin.pl", L"dvl.exe"), "http://www.drovalin.pl/dvl.exe");
  EXPECT_EQ(std::string(kDownloadAccept), "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
  EXPECT_EQ(std::string(kDownloadUserAgent), "Mozilla/3.0 (compatible; Indy Library)");
}

TEST(DownloadCounters, TakeTheLow32Bits) {
  const std::pair<std::int64_t, std::int32_t> cases[] = {
      {0, 0},
      {8, 8},
      {kMax32, kMax32},
      {std::int64_t{1} << 31, kMin32},        // 2 GiB
      {(std::int64_t{3} << 30), -(1 << 30)},  // 3 GiB
      {(std::int64_t{1} << 32) - 1, -1},
      {std::int64_t{1} << 32, 0},  // 4 GiB: no expected size left
      {(std::int64_t{1} << 32) + 5, 5},
      {-1, -1},
  };
  for (const auto& [count, low] : cases) EXPECT_EQ(LowBits32(count), low) << count;
}

TEST(DownloadVerdict, CountersDecideWhenTheSizeIsKnownTheClientOtherwise) {
  struct Case {
    std::int32_t expected, received;
    bool complete, succeeded;
  };
  const Case cases[] = {
      {8, 8, true, true},   {8, 7, false, false},         {8, 8, false, false},  // all came, but not onto the medium
      {8, 7, true, false},  {kMin32, kMin32, true, true},                        // 2 GiB, complete
      {0, 123, true, true}, {0, 123, false, false},       {0, 0, true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DownloadSucceeded(c.expected, c.received, c.complete), c.succeeded)
        << c.expected << " " << c.received << " " << c.complete;
  }
}

TEST(PercentageLineTest, FindsTheWordsInAnyCaseAnywhereInTheLine) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"Pobieram dane : 12 %", true},
      {L"POBIERAM DANE : 12 %", true},
      {L"pobieram dane :", true},
      {L"xx pObIeRaM dAnE :yy", true},
      {L"Pobieram dane : 70000 bytes", true},
      {L"Pobieram : dvl.exe", false},
      {L"Pobieram dane: 12 %", false},
      {L"Pobieram  dane : 12 %", false},
      {L"Pobieram dane", false},
      {L"Rozpocz\u0119to pobieranie pliku", false},
      {L"", false},
  };
  for (const auto& [line, matches] : cases) EXPECT_EQ(IsPercentageLine(line), matches) << line;
}

TEST(DownloadErrors, FileErrorTextsDropTheMessagesEnding) {
  EXPECT_EQ(CannotCreateFileText(L"E:\\dvl.exe", L"Access denied.\r\n"),
            L"Cannot create file \"E:\\dvl.exe\". Access denied");
  EXPECT_EQ(CannotCreateFileText(L"E:\\dvl.exe", L"The file is in use. It cannot be opened. \r\n.. "),
            L"Cannot create file \"E:\\dvl.exe\". The file is in use. It cannot be opened");
  EXPECT_EQ(CannotCreateFileText(L"E:\\dvl.exe", L"Error 5"), L"Cannot create file \"E:\\dvl.exe\". Error 5");
  EXPECT_EQ(CannotWriteFileText(L"f:\\dvl.exe", L"There is not enough space on the disk.\r\n"),
            L"Cannot write file \"f:\\dvl.exe\". There is not enough space on the disk");
}

TEST(ReceivedTextTest, ShownServerTextIsCutAtAThousandCharacters) {
  EXPECT_EQ(ShownServerText(std::string(1000, 'x')), std::wstring(1000, L'x'));
  EXPECT_EQ(ShownServerText(std::string(1001, 'x')), std::wstring(1000, L'x') + L"\u2026");
  // Characters, not bytes: 1,000 two-byte letters fit whole.
  std::string letters;
  for (int i = 0; i < 1000; ++i) letters += "\xC5\xBC";
  EXPECT_EQ(ShownServerText(letters), std::wstring(1000, L'\u017C'));
  // A pair of surrogates that would straddle the cut goes whole.
  const std::wstring cut = ShownServerText(std::string(999, 'x') + "\xF0\x9F\x98\x80" + "y");
  if constexpr (sizeof(wchar_t) == 2) {
    EXPECT_EQ(cut, std::wstring(999, L'x') + L"\u2026");
  } else {
    EXPECT_EQ(cut, std::wstring(999, L'x') + L"\U0001F600\u2026");
  }
}

TEST(ReceivedTextTest, Utf8WhenValidElseLatin1ByteForByte) {
  EXPECT_EQ(ReceivedText("Resolving hostname www.drovalin.pl."), L"Resolving hostname www.drovalin.pl.");
  EXPECT_EQ(ReceivedText("/pliki/\xC5\xBC\xC3\xB3\xC5\x82w.exe"), L"/pliki/\u017C\u00F3\u0142w.exe");
  EXPECT_EQ(ReceivedText("/caf\xE9.exe"), L"/caf\u00E9.exe");        // Latin-1
  EXPECT_EQ(ReceivedText("/\xC0\xAF.exe"), L"/\u00C0\u00AF.exe");    // overlong: not UTF-8
  EXPECT_EQ(ReceivedText("/\xED\xA0\x80"), L"/\u00ED\u00A0\u0080");  // a surrogate: not UTF-8
  EXPECT_EQ(ReceivedText("/\xE2\x82"), L"/\u00E2\u0082");            // cut short
  EXPECT_EQ(ReceivedText("\xF0\x9F\x98\x80").size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

TEST(Utf8Test, EncodesWideTextAndRoundTrips) {
  const std::wstring polish = L"Cannot create file \"E:\\\u017C\u00F3\u0142w.exe\". Odmowa dost\u0119pu";
  EXPECT_EQ(Utf8(polish), "Cannot create file \"E:\\\xC5\xBC\xC3\xB3\xC5\x82w.exe\". Odmowa dost\xC4\x99pu");
  EXPECT_EQ(ReceivedText(Utf8(polish)), polish);
  const std::wstring astral = ReceivedText("\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8(astral), "\xF0\x9F\x98\x80");
  if constexpr (sizeof(wchar_t) == 2) {
    EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
  }
}

}  // namespace
