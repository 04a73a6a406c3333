// The window as it starts, and the drive list following drives that are
// plugged in and pulled out while the tool runs.
#include "tool_fixture.h"

using namespace ui_driver;
using wine_drives::Drive;

namespace {

using Start = ToolTest;

TEST_F(Start, ShowsItsInitialStateUntilTheFirstTickThenTheOneDrive) {
  drives.push_back(Drive::RemovableWithLabel(L'E', "PENDRIVE"));
  StartTool();

  // Before the first tick, which comes a second after creation.
  EXPECT_EQ(Text(w.status), kStatusPrefix);
  EXPECT_EQ(Text(w.selector), L"");
  EXPECT_TRUE(ComboItems(w.selector).empty());
  EXPECT_FALSE(Enabled(w.copyButton));
  EXPECT_FALSE(Enabled(w.installerOption));
  EXPECT_FALSE(Enabled(w.downloadOption));
  EXPECT_TRUE(Checked(w.installerOption));
  EXPECT_TRUE(Checked(w.downloadOption));
  EXPECT_TRUE(Enabled(w.closeButton));
  EXPECT_TRUE(Enabled(w.helpButton));
  EXPECT_EQ(Text(w.log), L"");
  EXPECT_EQ(Focus(w.main), w.selectorField) << "the selector has the focus at start";
  // The taskbar entry carries the application title.
  EXPECT_NE(tool->WaitForWindow(kApplicationTitle, 1000), nullptr);

  ASSERT_TRUE(StatusBecomes(L"E:\\"));
  EXPECT_EQ(Text(w.selector), Entry(L'E', L"PENDRIVE"));
  EXPECT_EQ(ComboItems(w.selector), std::vector<std::wstring>{Entry(L'E', L"PENDRIVE")});
  EXPECT_TRUE(Enabled(w.copyButton));
  EXPECT_TRUE(Enabled(w.installerOption));
  EXPECT_TRUE(Enabled(w.downloadOption));
  // 430 x 356 at 96 DPI, scaled at another (MPI_E2E_DPI).
  const SIZE client = ClientSize(w.main);
  EXPECT_EQ(client.cx, (430 * RunDpi() + 48) / 96);
  EXPECT_EQ(client.cy, (356 * RunDpi() + 48) / 96);
  SaveScreenshot("start.png");
}

using PlugAndPull = ToolTest;

TEST_F(PlugAndPull, TheListFollowsDrivesWhileTheToolRuns) {
  StartTool();
  ASSERT_TRUE(StatusBecomes(L" BRAK"));
  EXPECT_FALSE(Enabled(w.copyButton));

  // One drive: the single-drive rule picks it.
  drives.push_back(Drive::Removable(L'E', DriveFolder(L'E', "ALFA")));
  ASSERT_TRUE(StatusBecomes(L"E:\\", 3000)) << "a plugged drive shows within a tick";
  EXPECT_EQ(Text(w.selector), Entry(L'E', L"ALFA"));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.copyButton); }, 1500));

  // A second one: both listed, lowest letter first, the text stays.
  drives.push_back(Drive::Removable(L'G', DriveFolder(L'G', "BETA")));
  ASSERT_TRUE(StatusBecomes(L"G:\\; E:\\", 3000));
  EXPECT_EQ(ComboItems(w.selector), (std::vector<std::wstring>{Entry(L'E', L"ALFA"), Entry(L'G', L"BETA")}));
  EXPECT_EQ(Text(w.selector), Entry(L'E', L"ALFA"));
  EXPECT_TRUE(Enabled(w.copyButton));

  // Typing completes to an entry; a fixed disk's letter disables copying.
  SetText(w.selectorField, L"");
  Type(w.selectorField, L"G");
  EXPECT_TRUE(Eventually<std::wstring>([&] { return Text(w.selector); }, Entry(L'G', L"BETA"), 2000));
  SetText(w.selectorField, L"");
  Type(w.selectorField, L"C");
  EXPECT_TRUE(WaitUntil([&] { return !Enabled(w.copyButton); }, 2500)) << "C: is a fixed disk";
  EXPECT_EQ(Text(w.selector), L"C");

  // Pulling E: leaves G: alone, so the selector switches to it.
  drives.front().Pull();
  ASSERT_TRUE(StatusBecomes(L"G:\\", 3000)) << "a pulled drive disappears within a tick";
  EXPECT_EQ(ComboItems(w.selector), std::vector<std::wstring>{Entry(L'G', L"BETA")});
  EXPECT_EQ(Text(w.selector), Entry(L'G', L"BETA"));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.copyButton); }, 1500));

  // No drive left: the text keeps the pulled drive's entry, copying is off.
  drives.back().Pull();
  ASSERT_TRUE(StatusBecomes(L" BRAK", 3000));
  EXPECT_TRUE(ComboItems(w.selector).empty());
  EXPECT_EQ(Text(w.selector), Entry(L'G', L"BETA"));
  EXPECT_TRUE(WaitUntil([&] { return !Enabled(w.copyButton); }, 1500));
}

}  // namespace
