#include "system/drive_text.h"

#include <gtest/gtest.h>

namespace {

struct RootCase {
  const wchar_t* text;
  const wchar_t* root;
  const wchar_t* selectorRoot;
};

class DriveRootTest : public ::testing::TestWithParam<RootCase> {};

TEST_P(DriveRootTest, TakesTheFirstCharacterAsItIs) {
  const RootCase& c = GetParam();
  EXPECT_EQ(DriveRoot(c.text), c.root);
  EXPECT_EQ(SelectorRoot(c.text), c.selectorRoot);
}

INSTANTIATE_TEST_SUITE_P(Texts, DriveRootTest,
                         ::testing::Values(RootCase{L"E:\\    [DATA]", L"E:\\", L"E:\\"},
                                           RootCase{L"F:\\    []", L"F:\\", L"F:\\"}, RootCase{L"E", L"E:\\", L"E:\\"},
                                           RootCase{L"e", L"e:\\", L"e:\\"}, RootCase{L"1abc", L"1:\\", L"1:\\"},
                                           RootCase{L" E", L" :\\", L" :\\"},
                                           // The blank appended to the selector text keeps an empty
                                           // text from forming ":\\", a root that some APIs take as
                                           // the current drive.
                                           RootCase{L"", L":\\", L" :\\"}));

TEST(DriveEntryTest, JoinsRootFourBlanksAndBracketedLabelKeepingCase) {
  EXPECT_EQ(DriveEntry(L"E:\\", L"DATA"), L"E:\\    [DATA]");
  EXPECT_EQ(DriveEntry(L"E:\\", L"Dane"), L"E:\\    [Dane]");
  EXPECT_EQ(DriveEntry(L"E:\\", L""), L"E:\\    []");
  EXPECT_EQ(DriveRoot(DriveEntry(L"G:\\", L"x y")), L"G:\\");
}

TEST(ScanRootsTest, ProbesZDownToCAndNeverAOrB) {
  const std::vector<std::wstring> roots = ScanRoots();
  ASSERT_EQ(roots.size(), 24u);
  EXPECT_EQ(roots.front(), L"Z:\\");
  EXPECT_EQ(roots.back(), L"C:\\");
  for (std::size_t i = 1; i < roots.size(); ++i) {
    EXPECT_EQ(roots[i - 1][0] - 1, roots[i][0]);
  }
}

TEST(ScanRootsTest, PresentLettersLimitTheScanButNeverAddAOrB) {
  constexpr std::uint32_t a = 1u << 0, b = 1u << 1, c = 1u << 2, e = 1u << 4, g = 1u << 6, z = 1u << 25;
  EXPECT_EQ(ScanRoots(a | b | c | e | g | z), (std::vector<std::wstring>{L"Z:\\", L"G:\\", L"E:\\", L"C:\\"}));
  EXPECT_TRUE(ScanRoots(a | b).empty());
  // Bits above Z are not letters.
  EXPECT_EQ(ScanRoots(e | (1u << 26) | (1u << 31)), (std::vector<std::wstring>{L"E:\\"}));
  // No answer from the platform: every letter is asked.
  EXPECT_EQ(ScanRoots(0), ScanRoots());
}

TEST(FixedBufferTest, CopiesWithTerminatorOnlyWhenItFits) {
  wchar_t buffer[5];
  std::fill(std::begin(buffer), std::end(buffer), L'#');

  EXPECT_TRUE(CopyToFixedBuffer(L"abcd", buffer, 5));
  EXPECT_EQ(std::wstring(buffer), L"abcd");

  std::fill(std::begin(buffer), std::end(buffer), L'#');
  EXPECT_FALSE(CopyToFixedBuffer(L"abcde", buffer, 5));
  for (wchar_t c : buffer) EXPECT_EQ(c, L'#') << "a refused copy must not touch the buffer";

  EXPECT_TRUE(CopyToFixedBuffer(L"", buffer, 1));
  EXPECT_EQ(buffer[0], L'\0');
  EXPECT_FALSE(CopyToFixedBuffer(L"", buffer, 0));
}

TEST(FixedBufferTest, LabelBufferHoldsAtMost255Characters) {
  wchar_t buffer[kLabelBufferChars];
  EXPECT_TRUE(CopyToFixedBuffer(std::wstring(255, L'L'), buffer, kLabelBufferChars));
  EXPECT_FALSE(CopyToFixedBuffer(std::wstring(256, L'L'), buffer, kLabelBufferChars));
}

}  // namespace
