// The installer copy against real files on drives that Wine's mount manager
// maps as it maps a USB stick; the chooser is answered directly.
#include "ui/copy/installer_copy.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recording_log.h"
#include "system/sha256.h"
#include "system/win32.h"
#include "wine_drives.h"

using wine_drives::DosPath;
using wine_drives::Drive;
using wine_drives::NewFolder;

namespace {

class ScriptedChooser final : public FileChooser {
 public:
  explicit ScriptedChooser(std::optional<std::wstring> answer) : answer_(std::move(answer)) {}
  std::optional<std::wstring> Choose(const FileChooserSetup& setup) override {
    setups.push_back(setup);
    return answer_;
  }
  std::vector<FileChooserSetup> setups;

 private:
  std::optional<std::wstring> answer_;
};

struct CopyRun {
  std::vector<std::wstring> events;
  std::vector<std::wstring> lines;
  std::vector<FileChooserSetup> setups;
  std::string error;  // what left the copy, for its error box
};

CopyRun RunCopy(std::optional<std::wstring> answer, const std::wstring& root = L"E:\\") {
  CopyRun run;
  RecordingLog log(run.events);
  ScriptedChooser chooser(std::move(answer));
  try {
    CopyInstallerFromFile(L"dvl.exe", root, chooser, log, [&run] { run.events.push_back(L"pump"); });
  } catch (const std::runtime_error& error) {
    run.error = error.what();
  }
  run.lines = log.lines;
  run.setups = chooser.setups;
  return run;
}

// The log as the user must see it, spelt out here independently of the code.
std::vector<std::wstring> ExpectedEvents(const std::wstring& target, std::int64_t size,
                                         const std::vector<std::int64_t>& remainingShown, const std::wstring& outcome) {
  std::vector<std::wstring> events = {L"+Kopiuję " + target + L"  " + std::to_wstring(size) + L" bytes",
                                      L"+Pozostało : " + std::to_wstring(size) + L" bytes"};
  for (std::int64_t remaining : remainingShown) {
    events.push_back(L"pump");
    events.push_back(L"=Pozostało : " + std::to_wstring(remaining) + L" bytes");
  }
  events.push_back(L"+" + outcome);
  return events;
}

std::wstring DigestOf(const std::string& bytes) {
  Sha256 hash;
  hash.Update(bytes.data(), bytes.size());
  return HexDigest(hash.Finish());
}

// A copy that ends "Ok": the block events, then the written file read back
// from the medium a mebibyte at a time, each block after a pump, and its
// SHA-256 before the outcome.
std::vector<std::wstring> CopiedEvents(const std::wstring& target, const std::string& bytes,
                                       const std::vector<std::int64_t>& remainingShown) {
  const auto size = static_cast<std::int64_t>(bytes.size());
  std::vector<std::wstring> events = ExpectedEvents(target, size, remainingShown, L"Ok");
  events.pop_back();
  events.push_back(L"+Sprawdzam zapis " + target);
  events.push_back(L"+Do sprawdzenia : " + std::to_wstring(size) + L" bytes");
  for (std::int64_t left = size; left > 0;) {
    left = std::max<std::int64_t>(left - 1024 * 1024, 0);
    events.push_back(L"pump");
    events.push_back(L"=Do sprawdzenia : " + std::to_wstring(left) + L" bytes");
  }
  events.push_back(L"+SHA-256 : " + DigestOf(bytes));
  events.push_back(L"+Ok");
  return events;
}

std::string Pattern(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + seed * 7 + i / 4096) % 251);
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(file.get(), INVALID_HANDLE_VALUE) << "error " << GetLastError();
  DWORD written = 0;
  BOOL ok = bytes.empty() || WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  file.reset();
  ASSERT_TRUE(ok);
  ASSERT_EQ(written, bytes.size());
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  file.reset();
  return bytes;
}

// File content check that reports sizes and the first difference instead of
// dumping kilobytes of bytes.
testing::AssertionResult HoldsBytes(const std::wstring& path, const std::string& expected) {
  std::optional<std::string> actual = ReadBytes(path);
  if (!actual) return testing::AssertionFailure() << "cannot read " << testing::PrintToString(path);
  if (*actual == expected) return testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual->size() && at < expected.size() && (*actual)[at] == expected[at]) ++at;
  return testing::AssertionFailure() << testing::PrintToString(path) << " holds " << actual->size()
                                     << " bytes, expected " << expected.size() << ", first difference at " << at;
}

FILETIME UtcTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, std::uint32_t hundredNs) {
  SYSTEMTIME civil{};
  civil.wYear = year;
  civil.wMonth = month;
  civil.wDay = day;
  civil.wHour = hour;
  civil.wMinute = minute;
  civil.wSecond = second;
  FILETIME time{};
  EXPECT_TRUE(SystemTimeToFileTime(&civil, &time));
  ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
  value.QuadPart += hundredNs;
  return FILETIME{value.LowPart, value.HighPart};
}

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void SetLastWriteTime(const std::wstring& path, const FILETIME& time) {
  UniqueHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
  BOOL ok = SetFileTime(file.get(), nullptr, nullptr, &time);
  file.reset();
  ASSERT_TRUE(ok);
}

std::uint64_t LastWriteTicks(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
      << "no file " << testing::PrintToString(path);
  return Ticks(data.ftLastWriteTime);
}

std::uint64_t NowTicks() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

// The number a "Pozostało : N bytes" line shows.
std::int64_t RemainingShown(const std::wstring& line) {
  const std::wstring prefix = L"Pozostało : ";
  EXPECT_EQ(line.rfind(prefix, 0), 0u) << testing::PrintToString(line);
  return std::stoll(line.substr(prefix.size()));
}

constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

class InstallerCopyTest : public testing::Test {
 protected:
  InstallerCopyTest() : drive_(Drive::RemovableWithLabel(L'E', "DROVALIN")), sources_(NewFolder("sources")) {}

  // A source file in a folder on Z:, far from the target drive.
  std::wstring Source(const std::wstring& name, const std::string& bytes) {
    std::wstring path = DosPath(sources_) + L"\\" + name;
    WriteBytes(path, bytes);
    return path;
  }

  Drive drive_;
  std::string sources_;
};

TEST_F(InstallerCopyTest, CancelAddsNoLineAndWritesNothing) {
  WriteBytes(L"E:\\dvl.exe", "earlier installer");
  CopyRun run = RunCopy(std::nullopt);

  EXPECT_TRUE(run.events.empty());
  EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", "earlier installer"));
  ASSERT_EQ(run.setups.size(), 1u);
  EXPECT_EQ(run.setups[0].title, L"Wybierz plik instalatora");
  EXPECT_EQ(run.setups[0].defaultExtension, L"exe");
  EXPECT_EQ(run.setups[0].fileName, L"dvl.exe");
}

TEST_F(InstallerCopyTest, ChoiceThatIsNoExistingFileAddsNoLineAndWritesNothing) {
  WriteBytes(L"E:\\dvl.exe", "earlier installer");
  const std::wstring choices[] = {DosPath(sources_) + L"\\nie-ma-takiego.exe", DosPath(sources_), L"E:\\"};
  for (const std::wstring& choice : choices) {
    CopyRun run = RunCopy(choice);
    EXPECT_TRUE(run.events.empty()) << testing::PrintToString(choice);
    EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", "earlier installer"));
  }
}

struct BlockCase {
  const wchar_t* sourceName;
  std::size_t size;
  std::vector<std::int64_t> remainingShown;
};

TEST_F(InstallerCopyTest, CopiesAnySourceAsDvlExeBlockByBlockWithExactLines) {
  const BlockCase cases[] = {
      {L"pusty.exe", 0, {0}},
      {L"Instalator Drovalin 2.0.EXE", 8192, {4096, 0, 0}},
      {L"instalator-żółw", 10000, {5904, 1808, 0, 0}},
      {L"dvl.exe", 4097, {1, 0, 0}},
  };
  unsigned seed = 0;
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.sourceName)));
    const std::string bytes = Pattern(c.size, ++seed);
    CopyRun run = RunCopy(Source(c.sourceName, bytes));

    // One pump per block, each followed by the rewritten remaining line.
    EXPECT_EQ(run.events, CopiedEvents(L"E:\\dvl.exe", bytes, c.remainingShown));
    EXPECT_EQ(run.lines.size(), 6u);
    EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", bytes));
  }
}

TEST_F(InstallerCopyTest, TargetRootIsUsedAsGiven) {
  const std::string bytes = Pattern(5000, 9);
  CopyRun run = RunCopy(Source(L"setup.exe", bytes), L"e:\\");
  EXPECT_EQ(run.events, CopiedEvents(L"e:\\dvl.exe", bytes, {904, 0, 0}));
  EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", bytes));
}

TEST_F(InstallerCopyTest, ReadOnlyHiddenInstallerOnTheTargetIsReplaced) {
  WriteBytes(L"E:\\dvl.exe", "old installer, longer than the new one");
  ASSERT_TRUE(SetFileAttributesW(L"E:\\dvl.exe", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

  CopyRun run = RunCopy(Source(L"nowy.exe", "new"));

  EXPECT_EQ(run.lines.back(), L"Ok");
  EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", "new"));
  DWORD attributes = GetFileAttributesW(L"E:\\dvl.exe");
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
}

TEST_F(InstallerCopyTest, ReadOnlySourceGivesReadOnlyTargetThatTheNextRunStillReplaces) {
  std::wstring source = Source(L"instalator.exe", "first");
  ASSERT_TRUE(SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_READONLY));

  CopyRun first = RunCopy(source);
  EXPECT_EQ(first.lines.back(), L"Ok");
  EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", "first"));
  EXPECT_NE(GetFileAttributesW(L"E:\\dvl.exe") & FILE_ATTRIBUTE_READONLY, 0u);

  ASSERT_TRUE(SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL));
  WriteBytes(source, "second, longer");
  CopyRun second = RunCopy(source);
  EXPECT_EQ(second.events, CopiedEvents(L"E:\\dvl.exe", "second, longer", {0, 0}));
  EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", "second, longer"));
  EXPECT_EQ(GetFileAttributesW(L"E:\\dvl.exe") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(InstallerCopyTest, SourceThatCannotBeOpenedShowsMinusOneAndErrorAndKeepsTheOldInstaller) {
  std::wstring source = Source(L"zajety.exe", Pattern(6000, 3));
  WriteBytes(L"E:\\dvl.exe", "earlier installer");
  // Held open elsewhere with no sharing at all.
  UniqueHandle held(
      CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
  CopyRun run = RunCopy(source);
  held.reset();

  EXPECT_EQ(run.events, ExpectedEvents(L"E:\\dvl.exe", -1, {-1}, L"Błąd"));
  EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", "earlier installer"));
  EXPECT_EQ(wine_drives::ReplacementFilesIn(L"E:\\"), 0);
}

TEST_F(InstallerCopyTest, ReadOnlyMediumKeepsItsOldInstaller) {
  Drive medium = Drive::Removable(L'R', wine_drives::ReadOnlyFolder("drovalin"));
  ASSERT_TRUE(HoldsBytes(L"R:\\dvl.exe", "old installer\n"));

  CopyRun run = RunCopy(Source(L"instalator.exe", Pattern(5000, 4)), L"R:\\");

  // Nothing could be written: the remaining count keeps the full size.
  EXPECT_EQ(run.events, ExpectedEvents(L"R:\\dvl.exe", 5000, {5000}, L"Błąd"));
  EXPECT_TRUE(HoldsBytes(L"R:\\dvl.exe", "old installer\n"));
  EXPECT_EQ(wine_drives::ReplacementFilesIn(L"R:\\"), 0);
}

TEST_F(InstallerCopyTest, LastWriteTimeIsCarriedToTheEvenSecondBelow) {
  struct TimeCase {
    FILETIME source;
    FILETIME expected;
  };
  const TimeCase cases[] = {
      {UtcTime(2021, 3, 4, 5, 6, 7, 1234567), UtcTime(2021, 3, 4, 5, 6, 6, 0)},
      {UtcTime(1999, 12, 31, 23, 59, 59, 9999999), UtcTime(1999, 12, 31, 23, 59, 58, 0)},
      {UtcTime(1980, 1, 1, 0, 0, 0, 5), UtcTime(1980, 1, 1, 0, 0, 0, 0)},
      {UtcTime(2107, 12, 31, 23, 59, 58, 0), UtcTime(2107, 12, 31, 23, 59, 58, 0)},
  };
  for (const TimeCase& c : cases) {
    std::wstring source = Source(L"instalator.exe", "bytes");
    SetLastWriteTime(source, c.source);
    RunCopy(source);
    EXPECT_EQ(LastWriteTicks(L"E:\\dvl.exe"), Ticks(c.expected)) << "source ticks " << Ticks(c.source);
    // The source itself keeps its time.
    EXPECT_EQ(LastWriteTicks(source), Ticks(c.source));
  }
}

TEST_F(InstallerCopyTest, TimeTheDosFormatCannotHoldLeavesTheTargetsOwnTime) {
  const FILETIME outside[] = {UtcTime(1975, 6, 15, 10, 0, 3, 0), UtcTime(1979, 12, 31, 23, 59, 59, 0),
                              UtcTime(2108, 1, 1, 0, 0, 0, 0), UtcTime(2110, 6, 15, 10, 0, 3, 0)};
  for (const FILETIME& time : outside) {
    std::wstring source = Source(L"instalator.exe", "bytes");
    SetLastWriteTime(source, time);
    const std::uint64_t before = NowTicks();
    RunCopy(source);
    const std::uint64_t written = LastWriteTicks(L"E:\\dvl.exe");
    // The time of writing, whatever the file system's resolution.
    EXPECT_GE(written + 2 * kTicksPerSecond, before) << "source ticks " << Ticks(time);
    EXPECT_LE(written, NowTicks() + 2 * kTicksPerSecond) << "source ticks " << Ticks(time);
  }
}

TEST_F(InstallerCopyTest, ChoosingTheTargetItselfLeavesItInPlace) {
  const std::string installer = Pattern(9000, 5);
  const FILETIME stamp = UtcTime(2022, 2, 2, 2, 2, 3, 4567);
  const std::wstring spellings[] = {L"E:\\dvl.exe", L"e:\\DVL.EXE", DosPath(drive_.folder()) + L"\\dvl.exe"};
  for (const std::wstring& choice : spellings) {
    SCOPED_TRACE(testing::PrintToString(choice));
    WriteBytes(L"E:\\dvl.exe", installer);
    SetLastWriteTime(L"E:\\dvl.exe", stamp);
    ASSERT_TRUE(SetFileAttributesW(L"E:\\dvl.exe", FILE_ATTRIBUTE_READONLY));

    CopyRun run = RunCopy(choice);

    EXPECT_EQ(run.events,
              (std::vector<std::wstring>{L"+Kopiuję E:\\dvl.exe  9000 bytes", L"+Pozostało : 0 bytes", L"+Ok"}));
    EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", installer));
    EXPECT_EQ(LastWriteTicks(L"E:\\dvl.exe"), Ticks(stamp));
    EXPECT_NE(GetFileAttributesW(L"E:\\dvl.exe") & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(SetFileAttributesW(L"E:\\dvl.exe", FILE_ATTRIBUTE_NORMAL));
  }
}

TEST_F(InstallerCopyTest, AnotherFileOfTheSameContentIsStillCopied) {
  // Identity, not content or name, decides the self-copy case.
  const std::string installer = Pattern(5000, 6);
  WriteBytes(L"E:\\dvl.exe", installer);
  CopyRun run = RunCopy(Source(L"dvl.exe", installer));
  EXPECT_EQ(run.events, CopiedEvents(L"E:\\dvl.exe", installer, {904, 0, 0}));
  EXPECT_TRUE(HoldsBytes(L"E:\\dvl.exe", installer));
}

// The 64 KiB tmpfs that the test runner mounts at $MPI_FIXTURE_DIR/full,
// emptied of what an earlier case left.
std::string FullMediumFolder() { return NewFolder("full"); }

// A medium that fills up half-way: the installer already there stays as it
// was (or there is none, as before), and nothing else is left behind.
TEST_F(InstallerCopyTest, MediumThatFillsUpEndsInErrorAndKeepsTheOldInstaller) {
  const std::string bytes = Pattern(256 * 1024, 7);
  for (const bool oldInstaller : {false, true}) {
    SCOPED_TRACE(oldInstaller ? "an installer was there" : "no installer was there");
    Drive medium = Drive::Removable(L'F', FullMediumFolder());
    if (oldInstaller) WriteBytes(L"F:\\dvl.exe", "old installer");

    CopyRun run = RunCopy(Source(L"duzy.exe", bytes), L"F:\\");

    if (oldInstaller) {
      EXPECT_TRUE(HoldsBytes(L"F:\\dvl.exe", "old installer"));
    } else {
      EXPECT_EQ(GetFileAttributesW(L"F:\\dvl.exe"), kNoAttributes);
    }
    EXPECT_EQ(wine_drives::ReplacementFilesIn(L"F:\\"), 0);
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_EQ(run.lines[0], L"Kopiuję F:\\dvl.exe  262144 bytes");
    const std::int64_t remaining = RemainingShown(run.lines[1]);
    EXPECT_GT(remaining, 0);
    EXPECT_LT(remaining, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(run.lines[2], L"Błąd");
    DeleteFileW(L"F:\\dvl.exe");
  }
}

TEST_F(InstallerCopyTest, SourceOfTwoGibibytesAndMoreShowsItsTrueSize) {
  // Sparse, so it costs no disk; the target is the small medium, so the copy
  // stops after a few blocks.
  const std::int64_t size = 2147483648LL + 4096;
  std::wstring source = DosPath(sources_) + L"\\ogromny.exe";
  UniqueHandle file(
      CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = size;
  BOOL sized = SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
  file.reset();
  ASSERT_TRUE(sized);
  Drive medium = Drive::Removable(L'F', FullMediumFolder());

  CopyRun run = RunCopy(source, L"F:\\");
  DeleteFileW(source.c_str());

  ASSERT_EQ(run.lines.size(), 3u);
  EXPECT_EQ(run.lines[0], L"Kopiuję F:\\dvl.exe  2147487744 bytes");
  const std::int64_t remaining = RemainingShown(run.lines[1]);
  // The medium holds 64 KiB, and a kernel may let all of it be written.
  EXPECT_GE(remaining, size - std::int64_t{64} * 1024);
  EXPECT_LT(remaining, size);
  EXPECT_EQ(run.lines[2], L"Błąd");
  EXPECT_EQ(GetFileAttributesW(L"F:\\dvl.exe"), kNoAttributes);
  EXPECT_EQ(wine_drives::ReplacementFilesIn(L"F:\\"), 0);
}

// A failing or fake stick takes every write and gives other bytes back: the
// copy reads the written file back from the medium, and only the medium's
// own bytes decide. tests/support/faulty_medium.py gives back what was
// written up to an offset and, past it, zeros (a fake stick past its real
// size), one flipped bit, or an I/O error.
TEST_F(InstallerCopyTest, WrittenInstallerIsReadBackFromTheMediumBeforeItReplacesTheOldOne) {
  struct Case {
    const char* fault;
    std::string error;  // the error box, "" for a copy that ends "Ok"
  };
  const std::string mismatch =
      "Dysk odda\u0142 inne dane ni\u017c zapisane do F:\\dvl.exe. Mo\u017ce by\u0107 uszkodzony albo podrobiony "
      "(mie\u015bci mniej, ni\u017c podaje).\r\nNowy instalator nie zosta\u0142 zapisany; to, co by\u0142o na dysku, "
      "pozosta\u0142o bez zmian.";
  const Case cases[] = {
      {"none", ""},
      {"zeros 3000000", ""},  // the fault lies past the installer's end
      {"zeros 1500000", mismatch},
      {"flip 2000000", mismatch},
      {"eio 1048576", "Nie mo\u017cna odczyta\u0107 z dysku zapisanego F:\\dvl.exe: "},
  };
  const std::string installer = Pattern(2500000, 11);
  const std::wstring source = Source(L"instalator.exe", installer);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    Drive medium = Drive::Removable(L'F', wine_drives::FaultyMediumFolder());
    WriteBytes(L"F:\\dvl.exe", "old installer");
    wine_drives::SetMediumFault(c.fault);

    CopyRun run = RunCopy(source, L"F:\\");

    wine_drives::SetMediumFault("none");
    EXPECT_EQ(wine_drives::ReplacementFilesIn(L"F:\\"), 0);
    if (c.error.empty()) {
      EXPECT_EQ(run.error, "");
      ASSERT_GE(run.lines.size(), 2u);
      EXPECT_EQ(run.lines[run.lines.size() - 2], L"SHA-256 : " + DigestOf(installer));
      EXPECT_EQ(run.lines.back(), L"Ok");
      EXPECT_TRUE(HoldsBytes(L"F:\\dvl.exe", installer));
      continue;
    }
    EXPECT_EQ(run.error.substr(0, c.error.size()), c.error);
    EXPECT_TRUE(HoldsBytes(L"F:\\dvl.exe", "old installer"));
    ASSERT_GE(run.lines.size(), 4u);
    EXPECT_EQ(run.lines[2], L"Sprawdzam zapis F:\\dvl.exe");
    EXPECT_EQ(run.lines.back(), L"B\u0142\u0105d");
    EXPECT_EQ(std::count_if(run.lines.begin(), run.lines.end(),
                            [](const std::wstring& line) { return line.rfind(L"SHA-256", 0) == 0; }),
              0);
  }
}

}  // namespace
