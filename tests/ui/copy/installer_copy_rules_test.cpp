// The copy action's decisions without a platform: label confirmation, the
// options table, the copy's log lines and its byte counting.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/copy/copy_action_rules.h"

namespace {

struct LabelCase {
  const wchar_t* label;
  bool confirms;
};

TEST(LabelConfirmsProductTest, UpperCasesAsciiAndSearchesSubstring) {
  const LabelCase cases[] = {
      {L"DROVALIN", true},
      {L"xdrovalinx", true},
      {L"drovalin-old", true},
      {L"Stary DrOvAlIn", true},
      {L"DROVALI", false},
      {L"ROVALIN", false},
      {L"", false},
      {L"DROVA LIN", false},
      // Dotless i (U+0131) upper-cases to I in a locale-aware conversion;
      // here it stays what it is and the label does not confirm.
      {L"drovalın", false},
      // Full-width small d is not an ASCII letter.
      {L"\xFF44rovalin", false},
  };
  for (const LabelCase& c : cases) {
    EXPECT_EQ(LabelConfirmsProduct(c.label), c.confirms) << testing::PrintToString(std::wstring(c.label));
  }
}

TEST(UpperCaseAsciiLettersTest, LeavesEverythingButAToZAlone) {
  EXPECT_EQ(UpperCaseAsciiLetters(L"azAZ09 -_{}`@[~"), L"AZAZ09 -_{}`@[~");
  EXPECT_EQ(UpperCaseAsciiLetters(L"ąćęłńóśźż äöü ß é"), L"ąćęłńóśźż äöü ß é");
  EXPECT_EQ(UpperCaseAsciiLetters(L"dysk ąb"), L"DYSK ąB");
  EXPECT_EQ(UpperCaseAsciiLetters(L""), L"");
}

TEST(ChooseInstallerStepTest, DownloadOptionIsExaminedFirst) {
  struct Row {
    bool download;
    bool installer;
    InstallerStep step;
  };
  const Row rows[] = {
      {true, true, InstallerStep::kDownload},
      {true, false, InstallerStep::kNone},
      {false, true, InstallerStep::kCopyFromFile},
      {false, false, InstallerStep::kNone},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ChooseInstallerStep(row.download, row.installer), row.step)
        << "download " << row.download << ", installer " << row.installer;
  }
}

TEST(InstallerCopyLinesTest, TextsMatchTheLogCharacterForCharacter) {
  EXPECT_EQ(InstallerTargetPath(L"E:\\", kInstallerFileName), L"E:\\dvl.exe");
  EXPECT_EQ(InstallerTargetPath(L"f:\\", kInstallerFileName), L"f:\\dvl.exe");

  EXPECT_EQ(CopySizeLine(L"E:\\dvl.exe", 5242880), L"Kopiuj\x0119 E:\\dvl.exe  5242880 bytes");
  EXPECT_EQ(CopySizeLine(L"E:\\dvl.exe", 0), L"Kopiuję E:\\dvl.exe  0 bytes");
  EXPECT_EQ(CopySizeLine(L"E:\\dvl.exe", -1), L"Kopiuję E:\\dvl.exe  -1 bytes");
  // 2 GiB and more keep their true size instead of wrapping negative.
  EXPECT_EQ(CopySizeLine(L"E:\\dvl.exe", 2147483648LL), L"Kopiuję E:\\dvl.exe  2147483648 bytes");
  EXPECT_EQ(CopySizeLine(L"E:\\dvl.exe", 5368709120LL), L"Kopiuję E:\\dvl.exe  5368709120 bytes");

  EXPECT_EQ(CopyRemainingLine(5904), L"Pozosta\x0142o : 5904 bytes");
  EXPECT_EQ(CopyRemainingLine(0), L"Pozostało : 0 bytes");
  EXPECT_EQ(CopyRemainingLine(-1808), L"Pozostało : -1808 bytes");
  EXPECT_EQ(CopyRemainingLine(4294967296LL), L"Pozostało : 4294967296 bytes");

  EXPECT_EQ(CopyOutcomeLine(0), L"Ok");
  EXPECT_EQ(CopyOutcomeLine(1),
            L"B\x0142\x0105"
            L"d");
  EXPECT_EQ(CopyOutcomeLine(-1), L"Błąd");
  // A count off by exactly 4 GiB is zero in its low 32 bits and must still fail.
  EXPECT_EQ(CopyOutcomeLine(4294967296LL), L"Błąd");
}

struct Block {
  std::uint32_t read;
  std::uint32_t written;
};

struct CountCase {
  const char* name;
  std::int64_t size;
  std::vector<Block> blocks;
  std::vector<std::int64_t> remainingShown;  // after each block
  bool complete;
};

TEST(CopyCounterTest, CountsBlocksAndEndsAtEmptyReadOrShortWrite) {
  const CountCase cases[] = {
      {"empty file", 0, {{0, 0}}, {0}, true},
      {"8192 bytes", 8192, {{4096, 4096}, {4096, 4096}, {0, 0}}, {4096, 0, 0}, true},
      {"10000 bytes", 10000, {{4096, 4096}, {4096, 4096}, {1808, 1808}, {0, 0}}, {5904, 1808, 0, 0}, true},
      {"source did not open", -1, {{0, 0}}, {-1}, false},
      {"target did not open", 10000, {{4096, 0}}, {10000}, false},
      {"write fell short", 10000, {{4096, 4096}, {4096, 1000}}, {5904, 4904}, false},
      {"read failed midway", 10000, {{4096, 4096}, {0, 0}}, {5904, 5904}, false},
      {"file shrank", 8192, {{4096, 4096}, {0, 0}}, {4096, 4096}, false},
      {"file grew", 4096, {{4096, 4096}, {4096, 4096}, {0, 0}}, {0, -4096, -4096}, false},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.blocks.size(), c.remainingShown.size());
    CopyCounter counter(c.size);
    for (std::size_t i = 0; i < c.blocks.size(); ++i) {
      bool more = counter.CountBlock(c.blocks[i].read, c.blocks[i].written);
      EXPECT_EQ(counter.remaining(), c.remainingShown[i]) << "block " << i;
      EXPECT_EQ(more, i + 1 < c.blocks.size()) << "block " << i;
    }
    EXPECT_EQ(CopyOutcomeLine(counter.remaining()) == L"Ok", c.complete);
  }
}

TEST(CopyCounterTest, FilesOfFourGibibytesAndMoreCountDownToZero) {
  for (std::int64_t size : {2147483648LL, 4294967296LL + 1808, 5368709120LL}) {
    SCOPED_TRACE(size);
    CopyCounter counter(size);
    std::int64_t left = size;
    std::int64_t blocks = 0;
    bool more = true;
    while (more) {
      auto chunk = static_cast<std::uint32_t>(left < 4096 ? left : 4096);
      more = counter.CountBlock(chunk, chunk);
      left -= chunk;
      ++blocks;
    }
    EXPECT_EQ(counter.remaining(), 0);
    EXPECT_EQ(blocks, (size + 4095) / 4096 + 1);
  }
}

TEST(DosDateTimeHoldsYearTest, OnlyYears1980To2107) {
  EXPECT_FALSE(DosDateTimeHoldsYear(1601));
  EXPECT_FALSE(DosDateTimeHoldsYear(1979));
  EXPECT_TRUE(DosDateTimeHoldsYear(1980));
  EXPECT_TRUE(DosDateTimeHoldsYear(2024));
  EXPECT_TRUE(DosDateTimeHoldsYear(2107));
  // 2108 would wrap to 1980 in a 7-bit year field.
  EXPECT_FALSE(DosDateTimeHoldsYear(2108));
  EXPECT_FALSE(DosDateTimeHoldsYear(30827));
}

}  // namespace
