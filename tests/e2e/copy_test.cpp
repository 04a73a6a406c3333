// The copy action with the installer copied from a file picked in the real
// open-file dialog, and the copy action on a write-protected medium.
#include <iostream>

#include "system/sha256.h"
#include "system/win32.h"
#include "tool_fixture.h"

using namespace ui_driver;
using wine_drives::Drive;

namespace {

constexpr wchar_t kDialogTitle[] = L"Wybierz plik instalatora";

// Last-write time of a file as the file system keeps it.
FILETIME LastWriteTime(const std::string& unixPath) {
  FILETIME written{};
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(wine_drives::DosPath(unixPath).c_str(), GetFileExInfoStandard, &data)) {
    written = data.ftLastWriteTime;
  }
  return written;
}

void SetLastWriteTime(const std::string& unixPath, const SYSTEMTIME& when) {
  FILETIME time{};
  SystemTimeToFileTime(&when, &time);
  UniqueHandle file(CreateFileW(wine_drives::DosPath(unixPath).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
  SetFileTime(file.get(), nullptr, nullptr, &time);
}

SYSTEMTIME TimeOf(const FILETIME& time) {
  SYSTEMTIME out{};
  FileTimeToSystemTime(&time, &out);
  return out;
}

class CopyFromFile : public ToolTest {
 protected:
  // Presses copy and picks `source` in the dialog the copy action opens.
  void CopyWithDialog(const std::string& source) {
    ASSERT_TRUE(Click(w.copyButton));
    HWND dialog = tool->WaitForOwnedWindow(w.main, L"#32770", kDialogTitle, 10000);
    ASSERT_NE(dialog, nullptr) << "no open-file dialog titled " << testing::PrintToString(kDialogTitle);
    EXPECT_EQ(Text(GetDlgItem(dialog, 1148)), L"dvl.exe") << "the dialog offers the installer's name";
    EXPECT_FALSE(Enabled(w.closeButton)) << "the close button is off while the action runs";
    ASSERT_TRUE(AnswerOpenDialog(dialog, wine_drives::DosPath(source)));
  }
};

TEST_F(CopyFromFile, PutsThePickedFileOnTheDriveAsDvlExeWithTheLabel) {
  // Wine reads a new label back only in a new session, so the drive starts
  // with a label that already contains the product's; the write is proven
  // by the label file.
  drives.push_back(Drive::RemovableWithLabel(L'E', "drovalin-old"));
  const std::string source = wine_drives::NewFolder("installer source") + "/Drovalin setup 2.0.exe";
  const std::vector<unsigned char> bytes = SampleBytes(100'003, 3);
  WriteBytes(source, bytes);
  SetLastWriteTime(source, SYSTEMTIME{2021, 5, 3, 5, 10, 0, 3, 0});
  StartTool();
  ASSERT_TRUE(StatusBecomes(L"E:\\"));
  ChooseCopyFromFile();

  CopyWithDialog(source);

  const std::vector<std::wstring> log = LogWhenLastLineIs(L"Ok");
  Sha256 hash;
  hash.Update(bytes.data(), bytes.size());
  EXPECT_EQ(log, (std::vector<std::wstring>{L"Kopiuję E:\\dvl.exe  100003 bytes", L"Pozostało : 0 bytes",
                                            L"Sprawdzam zapis E:\\dvl.exe", L"Do sprawdzenia : 0 bytes",
                                            L"SHA-256 : " + HexDigest(hash.Finish()), L"Ok"}));
  const std::string target = drives.back().folder() + "/dvl.exe";
  EXPECT_EQ(wine_drives::ReadLabelFile(drives.back().folder()), "DROVALIN");
  EXPECT_TRUE(ReadBytes(target) == bytes) << "dvl.exe is not byte-identical to the picked file";
  const SYSTEMTIME written = TimeOf(LastWriteTime(target));
  EXPECT_EQ(written.wYear, 2021);
  EXPECT_EQ(written.wSecond, 2) << "the time stamp goes down to the even second";
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.closeButton); }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.copyButton); }, 2500)) << "the next tick enables copying again";
  EXPECT_TRUE(tool->Dialogs().empty()) << "no box after a copy";

  std::cout << "Progress log of the tool after the copy:\n";
  for (const std::wstring& line : log) std::cout << "  " << Utf8(line) << "\n";
  std::cout.flush();
  SaveScreenshot("copy.png");
}

TEST_F(CopyFromFile, CancellingTheDialogWritesNothingButTheLabel) {
  drives.push_back(Drive::RemovableWithLabel(L'E', "drovalin-old"));
  StartTool();
  ASSERT_TRUE(StatusBecomes(L"E:\\"));
  ChooseCopyFromFile();
  ASSERT_TRUE(Click(w.copyButton));
  HWND dialog = tool->WaitForOwnedWindow(w.main, L"#32770", kDialogTitle, 10000);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Click(GetDlgItem(dialog, IDCANCEL)));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.closeButton); }, 3000));
  EXPECT_EQ(Text(w.log), L"");
  EXPECT_FALSE(FileExists(drives.back().folder() + "/dvl.exe"));
  EXPECT_EQ(wine_drives::ReadLabelFile(drives.back().folder()), "DROVALIN");
}

using ReadOnlyMedium = CopyFromFile;

TEST_F(ReadOnlyMedium, WithoutTheLabelTheBoxNamesTheRootAndNothingIsWritten) {
  const std::string medium = wine_drives::ReadOnlyFolder("plain");
  const std::string labelBefore = wine_drives::ReadLabelFile(medium);
  drives.push_back(Drive::Removable(L'E', medium));
  StartTool();
  ASSERT_TRUE(StatusBecomes(L"E:\\"));
  ASSERT_TRUE(Click(w.copyButton));

  const MessageBoxView box = WaitForMessageBox();
  ASSERT_NE(box.box, nullptr) << "no box";
  EXPECT_EQ(box.text, L"Nie udało się skopiować wszystkich plików do E:\\");
  EXPECT_FALSE(box.hasIcon);
  EXPECT_FALSE(Enabled(w.closeButton)) << "the close button comes back only after the box";
  ASSERT_TRUE(PressOk(box.box));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.closeButton); }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.copyButton); }, 2500));
  EXPECT_EQ(Text(w.log), L"");
  EXPECT_EQ(wine_drives::ReadLabelFile(medium), labelBefore);
  EXPECT_FALSE(FileExists(medium + "/dvl.exe"));
}

TEST_F(ReadOnlyMedium, WithTheLabelTheCopyEndsInBladAndTheOldInstallerStays) {
  const std::string medium = wine_drives::ReadOnlyFolder("drovalin");
  const std::vector<unsigned char> before = ReadBytes(medium + "/dvl.exe");
  const std::string source = wine_drives::NewFolder("installer source") + "/nowy.exe";
  WriteBytes(source, SampleBytes(5000, 4));
  drives.push_back(Drive::Removable(L'E', medium));
  StartTool();
  ASSERT_TRUE(StatusBecomes(L"E:\\"));
  ChooseCopyFromFile();

  CopyWithDialog(source);

  const std::vector<std::wstring> log = LogWhenLastLineIs(L"Błąd");
  EXPECT_EQ(log, (std::vector<std::wstring>{L"Kopiuję E:\\dvl.exe  5000 bytes", L"Pozostało : 5000 bytes", L"Błąd"}));
  EXPECT_TRUE(ReadBytes(medium + "/dvl.exe") == before);
  EXPECT_TRUE(tool->Dialogs().empty()) << "the outcome line is the only report";
}

// A fake stick takes the whole installer and gives zeros back past its real
// size (tests/support/faulty_medium.py): the check after the copy tells, and
// the installer already on it stays.
class FaultyMedium : public CopyFromFile {};

TEST_F(FaultyMedium, AnInstallerThatComesBackOtherwiseIsRefusedAndTheOldOneStays) {
  const std::string medium = wine_drives::FaultyMediumFolder();
  wine_drives::WriteLabelFile(medium, "drovalin-old");
  const std::vector<unsigned char> before = SampleBytes(7000, 8);
  WriteBytes(medium + "/dvl.exe", before);
  const std::string source = wine_drives::NewFolder("installer source") + "/nowy.exe";
  WriteBytes(source, SampleBytes(300000, 9));
  wine_drives::SetMediumFault("zeros 200000");
  drives.push_back(Drive::Removable(L'E', medium));
  StartTool();
  ASSERT_TRUE(StatusBecomes(L"E:\\"));
  ChooseCopyFromFile();

  CopyWithDialog(source);

  const MessageBoxView box = WaitForMessageBox(30000);
  ASSERT_NE(box.box, nullptr) << "no error box";
  EXPECT_EQ(box.text,
            L"Dysk odda\u0142 inne dane ni\u017c zapisane do E:\\dvl.exe. Mo\u017ce by\u0107 uszkodzony albo "
            L"podrobiony (mie\u015bci mniej, ni\u017c podaje).\r\n"
            L"Nowy instalator nie zosta\u0142 zapisany; to, co by\u0142o na dysku, pozosta\u0142o bez zmian.");
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(w.LogLines(),
            (std::vector<std::wstring>{L"Kopiuję E:\\dvl.exe  300000 bytes", L"Pozostało : 0 bytes",
                                       L"Sprawdzam zapis E:\\dvl.exe", L"Do sprawdzenia : 0 bytes", L"Błąd"}));
  ASSERT_TRUE(PressOk(box.box));
  wine_drives::SetMediumFault("none");
  EXPECT_TRUE(ReadBytes(medium + "/dvl.exe") == before) << "the old installer was touched";
  EXPECT_EQ(wine_drives::ReplacementFilesIn(wine_drives::DosPath(medium)), 0);
}

}  // namespace
