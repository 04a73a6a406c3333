// Poll ticks on simulated drives, called directly instead of waiting for the
// timer.
#include <windows.h>

#include <commctrl.h>
#include <dbt.h>

#include <optional>

#include "form_fixture.h"
#include "wine_drives.h"

using wine_drives::Drive;

namespace {

using PollTickTest = FormTest;

LRESULT CALLBACK CountTextWrites(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR counter) {
  if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(counter);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

const std::wstring kEntryE = L"E:\\    [ABC]";
const std::wstring kEntryG = L"G:\\    [XYZ]";

TEST_F(PollTickTest, FirstTickMovesTheLowerHalfUpAndShrinksTheWindow) {
  RECT before{};
  GetWindowRect(window, &before);
  Tick();

  EXPECT_TRUE(form->GroupBox1.Enabled());
  EXPECT_TRUE(form->KopiujInstalatorCheckBox1.Enabled());
  EXPECT_TRUE(form->PobierzZNetuCheckBox1.Enabled());
  EXPECT_EQ(PlaceOf(form->GroupBox1).top, 93);
  EXPECT_EQ(PlaceOf(form->KopiujInstalatorCheckBox1).top, 93 + 133);
  EXPECT_EQ(PlaceOf(form->PobierzZNetuCheckBox1).top, 93 + 152);
  EXPECT_EQ(PlaceOf(form->Memo1).top, 272);
  EXPECT_EQ(PlaceOf(form->BitBtn1).top, 272);
  EXPECT_EQ(PlaceOf(form->BitBtnKoniec).top, 316);
  EXPECT_EQ(ClientSize().cx, 430);
  EXPECT_EQ(ClientSize().cy, 356);
  // Lefts and sizes stay.
  const RECT copy = PlaceOf(form->BitBtn1);
  EXPECT_EQ(copy.left, 296);
  EXPECT_EQ(copy.right - copy.left, 129);
  EXPECT_EQ(copy.bottom - copy.top, 41);
  const RECT log = PlaceOf(form->Memo1);
  EXPECT_EQ(log.right - log.left, 281);
  EXPECT_EQ(log.bottom - log.top, 73);
  RECT after{};
  GetWindowRect(window, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_TRUE(form->MainTimer.Enabled());

  // Every later tick keeps it, and undoes what the user did to the size.
  SetWindowPos(window, nullptr, 0, 0, 700, 560, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(ClientSize().cx, 430);
  Tick();
  EXPECT_EQ(ClientSize().cx, 430);
  EXPECT_EQ(ClientSize().cy, 356);
  EXPECT_EQ(PlaceOf(form->GroupBox1).top, 93);
  EXPECT_EQ(PlaceOf(form->BitBtnKoniec).top, 316);
  GetWindowRect(window, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
}

// Wine's mount manager announces no drive that a test defines at run time
// (through IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE: no WM_DEVICECHANGE reached the
// window within 5 s when tried), so the notice Windows broadcasts is sent
// by hand: a volume's arrival or removal runs the poll's work at once,
// while the poll runs, and not while a copy or download has switched it
// off.
TEST_F(PollTickTest, AVolumeArrivalOrRemovalShowsAtOnce) {
  auto announce = [&](WPARAM event, wchar_t letter) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (letter - L'A');
    EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume)), TRUE);
  };
  Tick();  // the next timer tick is a second away from here
  ASSERT_TRUE(form->DriveComboBox.Items().empty());

  std::optional<Drive> e(Drive::RemovableWithLabel(L'E', "ABC"));
  announce(DBT_DEVICEARRIVAL, L'E');
  const DWORD sent = GetTickCount();
  while (form->DriveComboBox.Items().empty() && GetTickCount() - sent < 200) Pump();
  EXPECT_EQ(form->DriveComboBox.Items(), std::vector<std::wstring>{kEntryE}) << "not within 200 ms";
  EXPECT_EQ(form->KomunikatNapedDocelowyLabel.Text(), L"Dysk wymienny : E:\\");

  e.reset();
  announce(DBT_DEVICEREMOVECOMPLETE, L'E');
  Pump();
  EXPECT_TRUE(form->DriveComboBox.Items().empty());

  // During a copy or download the poll is off, and the notice waits for it.
  form->SetPollTimerEnabled(false);
  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  announce(DBT_DEVICEARRIVAL, L'G');
  Pump();
  EXPECT_TRUE(form->DriveComboBox.Items().empty());
  EXPECT_EQ(form->KomunikatNapedDocelowyLabel.Text(), L"Dysk wymienny :  BRAK");
}

TEST_F(PollTickTest, StatusTextAndListFollowTheRemovableDrives) {
  Drive fixed = Drive::Fixed(L'F', wine_drives::NewFolder("fixed"));
  Tick();
  EXPECT_EQ(form->KomunikatNapedDocelowyLabel.Text(), L"Dysk wymienny :  BRAK");
  EXPECT_TRUE(form->DriveComboBox.Items().empty());
  EXPECT_FALSE(form->BitBtn1.Enabled());

  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  Tick();
  EXPECT_EQ(form->KomunikatNapedDocelowyLabel.Text(), L"Dysk wymienny : E:\\");
  EXPECT_EQ(form->DriveComboBox.Items(), std::vector<std::wstring>{kEntryE});
  // The label sizes itself to the longer text.
  EXPECT_GT(PlaceOf(form->KomunikatNapedDocelowyLabel).right - PlaceOf(form->KomunikatNapedDocelowyLabel).left, 60);

  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  Tick();
  EXPECT_EQ(form->KomunikatNapedDocelowyLabel.Text(), L"Dysk wymienny : G:\\; E:\\");
  // The list is sorted, lowest letter first, unlike the status text.
  EXPECT_EQ(form->DriveComboBox.Items(), (std::vector<std::wstring>{kEntryE, kEntryG}));
}

TEST_F(PollTickTest, StatusTextIsWrittenOnlyWhenItChanges) {
  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  Tick();
  int writes = 0;
  SetWindowSubclass(form->KomunikatNapedDocelowyLabel.hwnd(), CountTextWrites, 1, reinterpret_cast<DWORD_PTR>(&writes));
  Tick();
  Tick();
  EXPECT_EQ(writes, 0);
  e.Pull();
  Tick();
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(form->KomunikatNapedDocelowyLabel.Text(), L"Dysk wymienny :  BRAK");
  RemoveWindowSubclass(form->KomunikatNapedDocelowyLabel.hwnd(), CountTextWrites, 1);
}

TEST_F(PollTickTest, OnlyDriveTakesOverTheSelectorText) {
  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  form->DriveComboBox.SetText(L"typed by the user");
  Tick();
  EXPECT_EQ(form->DriveComboBox.Text(), kEntryE);
  EXPECT_TRUE(form->BitBtn1.Enabled()) << "decided at the same tick";

  // A second drive: the text stays as the user left it.
  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  Tick();
  EXPECT_EQ(form->DriveComboBox.Text(), kEntryE);
  EXPECT_TRUE(form->BitBtn1.Enabled());

  // The selected drive is pulled while the other stays: the other one takes over.
  e.Pull();
  Tick();
  EXPECT_EQ(form->DriveComboBox.Text(), kEntryG);
  EXPECT_TRUE(form->BitBtn1.Enabled());

  // No drive: the list empties but the text stays; nothing to copy to.
  g.Pull();
  Tick();
  EXPECT_TRUE(form->DriveComboBox.Items().empty());
  EXPECT_EQ(form->DriveComboBox.Text(), kEntryG);
  EXPECT_FALSE(form->BitBtn1.Enabled());
}

TEST_F(PollTickTest, LabelChangeOfTheOnlyDriveShowsInTheSelectorText) {
  Drive e = Drive::RemovableWithLabel(L'E', "OLD");
  Tick();
  ASSERT_EQ(form->DriveComboBox.Text(), L"E:\\    [OLD]");
  wine_drives::WriteLabelFile(e.folder(), "DROVALIN");
  e.Replug();
  Tick();
  EXPECT_EQ(form->DriveComboBox.Text(), L"E:\\    [DROVALIN]");

  // With two drives the text keeps the old entry while the list shows the
  // new one; only its first character counts for the copy button.
  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  Tick();
  wine_drives::WriteLabelFile(e.folder(), "NEW");
  e.Replug();
  Tick();
  EXPECT_EQ(form->DriveComboBox.Text(), L"E:\\    [DROVALIN]");
  EXPECT_EQ(form->DriveComboBox.Items(), (std::vector<std::wstring>{L"E:\\    [NEW]", kEntryG}));
  EXPECT_TRUE(form->BitBtn1.Enabled());
}

TEST_F(PollTickTest, CopyButtonFollowsTheFirstCharacterOfTheSelectorText) {
  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  Drive fixed = Drive::Fixed(L'F', wine_drives::NewFolder("fixed"));
  ASSERT_EQ(GetDriveTypeW(L"C:\\"), static_cast<UINT>(DRIVE_FIXED));
  struct Case {
    std::wstring text;
    bool enabled;
  } cases[] = {
      {kEntryG, true},
      {L"g", true},          // the type query ignores the letter's case
      {L"gibberish", true},  // only the first character counts
      {L"E:\\    [STALE]", true},
      {L"C:\\", false},  // a fixed disk
      {L"F:\\    [x]", false},
      {L"", false},      // " :\" names no drive
      {L"H:\\", false},  // no drive there
      {L" G:\\", false},
  };
  for (const Case& c : cases) {
    form->DriveComboBox.SetText(c.text);
    Tick();
    EXPECT_EQ(form->BitBtn1.Enabled(), c.enabled) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(form->DriveComboBox.Text(), c.text) << "two drives: the text is the user's";
  }
}

TEST_F(PollTickTest, FocusLeavesTheCopyButtonForGoodWhenATickDisablesIt) {
  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  Tick();
  ASSERT_TRUE(form->BitBtn1.Enabled());
  SetFocus(form->BitBtn1.hwnd());
  Tick();
  EXPECT_TRUE(form->BitBtn1.Enabled());
  EXPECT_FALSE(form->BitBtn1.HasFocus());
  EXPECT_TRUE(form->BitBtnKoniec.HasFocus()) << "the next control in tab order";
}

LRESULT CALLBACK CountDisables(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR counter) {
  if (message == WM_ENABLE && !wParam) ++*reinterpret_cast<int*>(counter);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A tick that finds what the window already shows leaves the screen alone:
// an open drop-down keeps its highlight, and the copy button is never
// switched off on the way.
TEST_F(PollTickTest, TickThatFindsTheSameDrivesLeavesTheListAndTheCopyButtonAlone) {
  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  Tick();
  form->DriveComboBox.SetText(kEntryE);
  Tick();
  ASSERT_TRUE(form->BitBtn1.Enabled());
  HWND combo = form->DriveComboBox.hwnd();
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  ASSERT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
  int disables = 0;
  SetWindowSubclass(form->BitBtn1.hwnd(), CountDisables, 1, reinterpret_cast<DWORD_PTR>(&disables));
  for (int i = 0; i < 3; ++i) {
    Tick();
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1) << "tick " << i;
  }
  RemoveWindowSubclass(form->BitBtn1.hwnd(), CountDisables, 1);
  EXPECT_EQ(disables, 0);
  EXPECT_TRUE(form->BitBtn1.Enabled());
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(PollTickTest, ListIsRebuiltWhileDroppedDownAndKeepsWhatTheUserTyped) {
  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  Tick();
  HWND edit = form->DriveComboBox.EditField();
  SetFocus(edit);
  form->DriveComboBox.SetText(L"G:\\ half");
  SendMessageW(edit, EM_SETSEL, 3, 3);
  SendMessageW(form->DriveComboBox.hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(form->DriveComboBox.DroppedDown());

  Drive h = Drive::RemovableWithLabel(L'H', "NEW");
  Tick();
  EXPECT_EQ(form->DriveComboBox.Items(), (std::vector<std::wstring>{kEntryE, kEntryG, L"H:\\    [NEW]"}));
  EXPECT_EQ(form->DriveComboBox.Text(), L"G:\\ half");
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u) << "the caret stays where the user left it";
  EXPECT_EQ(end, 3u);
  SendMessageW(form->DriveComboBox.hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
