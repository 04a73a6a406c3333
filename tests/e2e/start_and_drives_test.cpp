// The window as it starts, and the drive list following drives that are
// plugged in and pulled out while the tool runs.
#include "tool_fixture.h"

using namespace ui_driver;
using wine_drives::Drive;

namespace {

using Start = ToolTest;

// What the window shows, read control by control. The tool's thread
// answers each read between its handlers, so when the status, read last,
// still has no drive, the first tick had not run for any of the reads.
struct FirstView {
  std::wstring selector;
  bool noItems = false;
  bool copyEnabled = false;
  bool installerEnabled = false;
  bool downloadEnabled = false;
  bool installerChecked = false;
  bool downloadChecked = false;
  bool closeEnabled = false;
  bool helpEnabled = false;
  std::wstring log;
  bool selectorFocused = false;
  std::wstring status;
};

FirstView ReadFirstView(const ToolWindow& w) {
  FirstView v;
  v.selector = Text(w.selector);
  v.noItems = ComboItems(w.selector).empty();
  v.copyEnabled = Enabled(w.copyButton);
  v.installerEnabled = Enabled(w.installerOption);
  v.downloadEnabled = Enabled(w.downloadOption);
  v.installerChecked = Checked(w.installerOption);
  v.downloadChecked = Checked(w.downloadOption);
  v.closeEnabled = Enabled(w.closeButton);
  v.helpEnabled = Enabled(w.helpButton);
  v.log = Text(w.log);
  v.selectorFocused = Focus(w.main) == w.selectorField;
  v.status = Text(w.status);
  return v;
}

TEST_F(Start, ShowsItsInitialStateUntilTheFirstTickThenTheOneDrive) {
  drives.push_back(Drive::RemovableWithLabel(L'E', "PENDRIVE"));
  // The first tick comes a second after the window's creation. A loaded
  // machine may read the window later than that; the tool is then started
  // again, and one that shows the drive at once fails every try.
  FirstView first;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    if (attempt > 1) tool.reset();
    StartTool();
    first = ReadFirstView(w);
    if (first.status == kStatusPrefix) break;
  }

  EXPECT_EQ(first.status, kStatusPrefix) << "read before the first tick in none of three starts";
  EXPECT_EQ(first.selector, L"");
  EXPECT_TRUE(first.noItems);
  EXPECT_FALSE(first.copyEnabled);
  EXPECT_FALSE(first.installerEnabled);
  EXPECT_FALSE(first.downloadEnabled);
  EXPECT_TRUE(first.installerChecked);
  EXPECT_TRUE(first.downloadChecked);
  EXPECT_TRUE(first.closeEnabled);
  EXPECT_TRUE(first.helpEnabled);
  EXPECT_EQ(first.log, L"");
  EXPECT_TRUE(first.selectorFocused) << "the selector has the focus at start";
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
