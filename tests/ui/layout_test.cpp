#include "ui/layout.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/window_description.h"

namespace {

Bounds Row(std::wstring_view name) {
  for (const ControlDescription& row : MainFormDescription().controls) {
    if (row.name == name) return row.bounds;
  }
  throw std::invalid_argument("no such control");
}

TEST(ScaleToDpiTest, KeepsEveryPixelAt96AndRoundsHalvesAwayFromZero) {
  struct Case {
    int pixels;
    int dpi;
    int expected;
  } cases[] = {
      {93, 96, 93},   {430, 96, 430},  {93, 144, 140},  // 139.5
      {93, 120, 116},                                   // 116.25
      {11, 144, 17},  {-11, 144, -17}, {3, 168, 5},     // 5.25
      {1, 72, 1},                                       // 0.75
      {0, 192, 0},    {-1, 144, -2},                    // -1.5
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleToDpi(c.pixels, c.dpi), c.expected) << c.pixels << " px at " << c.dpi << " DPI";
  }
  EXPECT_EQ(ScaleToDpi(Bounds{8, 93, 417, 177}, 192), (Bounds{16, 186, 834, 354}));
}

// 96 DPI keeps the described bitmap face exactly; every other DPI asks for
// an outline face of the scaled height, so that the text grows with it.
TEST(FontForDpiTest, KeepsTheFaceAt96AndScalesAnOutlineFaceElsewhere) {
  struct Case {
    const wchar_t* face;
    int dpi;
    FontRequest expected;
  } cases[] = {
      {L"MS Sans Serif", 96, {L"MS Sans Serif", 11, false}},
      {L"MS Sans Serif", 120, {L"Microsoft Sans Serif", 14, true}},  // 13.75
      {L"MS Sans Serif", 144, {L"Microsoft Sans Serif", 17, true}},  // 16.5
      {L"MS Sans Serif", 192, {L"Microsoft Sans Serif", 22, true}},
      {L"MS Sans Serif", 72, {L"Microsoft Sans Serif", 8, true}},  // 8.25
      {L"Tahoma", 144, {L"Tahoma", 17, true}},
      {L"Tahoma", 96, {L"Tahoma", 11, false}},
  };
  for (const Case& c : cases) {
    const FontRequest got = FontForDpi(c.face, 11, c.dpi);
    EXPECT_TRUE(got == c.expected) << "at " << c.dpi << " DPI: " << std::string(got.face.begin(), got.face.end()) << " "
                                   << got.pixels << (got.outlineOnly ? " outline" : "");
  }
}

TEST(PollLayoutTest, DescriptionGeometryGivesTheFirstTickNumbers) {
  const GroupPlacement placed = PlaceOptionsGroup(Row(L"Panel2"), Row(L"GroupBox1"));
  EXPECT_EQ(placed.groupTop, 93);
  EXPECT_EQ(placed.clientWidth, 430);

  Bounds group = Row(L"GroupBox1");
  group.top = placed.groupTop;
  const LowerLayout lower =
      LayOutBelowGroup(group, Row(L"KopiujInstalatorCheckBox1"), Row(L"BitBtn1"), Row(L"BitBtnKoniec"));
  EXPECT_EQ(lower.downloadOptionTop, 152);
  EXPECT_EQ(lower.logTop, 272);
  EXPECT_EQ(lower.copyButtonTop, 272);
  EXPECT_EQ(lower.closeButtonTop, 316);
  EXPECT_EQ(lower.clientHeight, 356);

  // A second pass over its own result changes nothing.
  EXPECT_EQ(PlaceOptionsGroup(Row(L"Panel2"), group).groupTop, 93);
}

TEST(PollLayoutTest, FollowsTheSizesItIsGiven) {
  // Each gap is added to the neighbour's real extent, not to fixed numbers.
  const GroupPlacement placed = PlaceOptionsGroup({0, 40, 100, 3}, {20, 0, 300, 10});
  EXPECT_EQ(placed.groupTop, 45);
  EXPECT_EQ(placed.clientWidth, 325);
  const LowerLayout lower = LayOutBelowGroup({20, 45, 300, 100}, {16, 10, 200, 20}, {0, 999, 50, 30}, {0, 0, 50, 40});
  EXPECT_EQ(lower.downloadOptionTop, 32);
  EXPECT_EQ(lower.logTop, 147);
  EXPECT_EQ(lower.copyButtonTop, 147);
  EXPECT_EQ(lower.closeButtonTop, 180);
  EXPECT_EQ(lower.clientHeight, 235);
}

}  // namespace
