// The drive routines against drives that Wine's mount manager maps, as it
// maps a real USB stick.
#include "system/drives.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "system/drive_text.h"
#include "wine_drives.h"

using wine_drives::Drive;

namespace {

TEST(ListRemovableDrivesTest, ListsRemovableDrivesHighestLetterFirst) {
  Drive e = Drive::RemovableWithLabel(L'E', "DATA");
  Drive g = Drive::RemovableWithLabel(L'G', "");
  Drive fixed = Drive::Fixed(L'F', wine_drives::NewFolder("fixed"));

  ASSERT_EQ(GetDriveTypeW(L"F:\\"), static_cast<UINT>(DRIVE_FIXED));
  ASSERT_EQ(GetDriveTypeW(L"H:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  EXPECT_EQ(ListRemovableDrives(), (std::vector<std::wstring>{L"G:\\", L"E:\\"}));

  g.Pull();
  EXPECT_EQ(ListRemovableDrives(), (std::vector<std::wstring>{L"E:\\"}));
}

TEST(ListRemovableDrivesTest, NeverListsAOrB) {
  Drive a = Drive::RemovableWithLabel(L'A', "FLOPPY");
  Drive b = Drive::RemovableWithLabel(L'B', "FLOPPY");
  ASSERT_EQ(GetDriveTypeW(L"A:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
  EXPECT_TRUE(ListRemovableDrives().empty());
}

TEST(DriveVolumeLabelTest, ReadsLabelThroughAnyDriveText) {
  Drive e = Drive::RemovableWithLabel(L'E', "Dane");
  Drive g = Drive::RemovableWithLabel(L'G', "");

  EXPECT_EQ(GetDriveVolumeLabel(L"E:\\"), L"Dane");
  EXPECT_EQ(GetDriveVolumeLabel(L"E:\\    [stale]"), L"Dane");
  EXPECT_EQ(GetDriveVolumeLabel(L"e"), L"Dane");
  EXPECT_EQ(DriveEntry(L"E:\\", GetDriveVolumeLabel(L"E:\\")), L"E:\\    [Dane]");
  EXPECT_EQ(DriveEntry(L"G:\\", GetDriveVolumeLabel(L"G:\\")), L"G:\\    []");
}

TEST(DriveVolumeLabelTest, NoDriveOrNoLetterGivesEmptyLabel) {
  EXPECT_EQ(GetDriveVolumeLabel(L"H"), L"");
  EXPECT_EQ(GetDriveVolumeLabel(L""), L"");
  EXPECT_EQ(GetDriveVolumeLabel(SelectorRoot(L"")), L"");
}

TEST(DriveVolumeLabelTest, WrittenLabelReachesTheDriveAndReadsBackAfterReplug) {
  Drive e = Drive::RemovableWithLabel(L'E', "PENDRIVE");
  SetDriveVolumeLabel(L"E:\\    [PENDRIVE]", L"DROVALIN");
  EXPECT_EQ(wine_drives::ReadLabelFile(e.folder()), "DROVALIN");
  // Wine keeps the label it read when the drive was defined; defining it
  // again makes it read the label file, as Windows does at once.
  e.Replug();
  EXPECT_EQ(GetDriveVolumeLabel(L"E"), L"DROVALIN");
}

TEST(DriveVolumeLabelTest, ReadOnlyDriveKeepsItsOldLabel) {
  Drive r = Drive::Removable(L'R', wine_drives::ReadOnlyFolder("plain"));
  SetDriveVolumeLabel(L"R", L"DROVALIN");
  r.Replug();
  EXPECT_EQ(GetDriveVolumeLabel(L"R:\\"), L"STARY");
  EXPECT_EQ(wine_drives::ReadLabelFile(r.folder()), "STARY");
}

TEST(DriveVolumeLabelTest, LabelLongerThanTheBufferIsRefusedAndNothingWritten) {
  Drive e = Drive::RemovableWithLabel(L'E', "KEEP");
  SetDriveVolumeLabel(L"E", std::wstring(256, L'X'));
  EXPECT_EQ(wine_drives::ReadLabelFile(e.folder()), "KEEP");
  e.Replug();
  EXPECT_EQ(GetDriveVolumeLabel(L"E"), L"KEEP");
}

}  // namespace
