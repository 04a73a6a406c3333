#include "ui/poll_rules.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kPrefix = L"Dysk wymienny : ";

TEST(TargetStatusTextTest, ListsRootsInScanOrderOrSaysBrak) {
  EXPECT_EQ(TargetStatusText(kPrefix, {}), L"Dysk wymienny :  BRAK");
  EXPECT_EQ(TargetStatusText(kPrefix, {L"E:\\"}), L"Dysk wymienny : E:\\");
  EXPECT_EQ(TargetStatusText(kPrefix, {L"G:\\", L"E:\\"}), L"Dysk wymienny : G:\\; E:\\");
  EXPECT_EQ(TargetStatusText(kPrefix, {L"Z:\\", L"K:\\", L"C:\\"}), L"Dysk wymienny : Z:\\; K:\\; C:\\");
}

TEST(DriveListDiffersTest, SameEntriesInAnyOrderLeaveTheListAlone) {
  const std::wstring e = L"E:\\    [ABC]";
  const std::wstring g = L"G:\\    [X]";
  EXPECT_FALSE(DriveListDiffers({}, {}));
  EXPECT_FALSE(DriveListDiffers({e, g}, {g, e}));
  EXPECT_TRUE(DriveListDiffers({e}, {e, g}));
  EXPECT_TRUE(DriveListDiffers({e, g}, {g}));
  EXPECT_TRUE(DriveListDiffers({e}, {L"E:\\    [ABD]"}));  // a new label
  EXPECT_TRUE(DriveListDiffers({e, e}, {e}));
}

TEST(SingleDriveSelectorTextTest, OnlyOneEntryReplacesADifferentText) {
  const std::wstring e = L"E:\\    [ABC]";
  const std::wstring g = L"G:\\    [X]";
  struct Case {
    std::vector<std::wstring> entries;
    std::wstring shown;
    std::optional<std::wstring> expected;
  } cases[] = {
      {{e}, L"", e},                         // empty after start
      {{e}, L"typed by the user", e},        // the user's text gives way
      {{e}, L"E:\\    [OLD]", e},            // the label changed
      {{e}, e, std::nullopt},                // already shown: not written again
      {{}, L"E:\\    [ABC]", std::nullopt},  // pulled out: the text stays
      {{e, g}, L"", std::nullopt},           // two drives: the user decides
      {{e, g}, L"E:\\    [OLD]", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SingleDriveSelectorText(c.entries, c.shown), c.expected)
        << c.entries.size() << " entries, shown \"" << std::string(c.shown.begin(), c.shown.end()) << "\"";
  }
}

}  // namespace
