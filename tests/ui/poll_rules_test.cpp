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

// Only a volume that came or went, and only while the poll runs.
TEST(DeviceChangeRunsPollTest, VolumeArrivalAndRemovalWhileThePollRuns) {
  struct Case {
    unsigned event;
    unsigned long type;
    bool pollOn;
    bool runs;
  } cases[] = {
      {0x8000, 2, true, true},                              // arrival of a volume
      {0x8004, 2, true, true},                              // removal of a volume completed
      {0x8000, 2, false, false},                            // during a copy or download
      {0x8004, 2, false, false}, {0x8001, 2, true, false},  // a query to remove: nothing has changed yet
      {0x8003, 2, true, false},                             // removal pending
      {0x0007, 0, true, false},                             // DBT_DEVNODES_CHANGED carries no device
      {0x8000, 5, true, false},                             // a device interface, not a volume
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeviceChangeRunsPoll(c.event, c.type, c.pollOn), c.runs)
        << std::hex << c.event << " type " << c.type << (c.pollOn ? " poll on" : " poll off");
  }
}

}  // namespace
