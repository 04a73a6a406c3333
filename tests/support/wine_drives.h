// Simulated drives for tests under Wine. A drive is a Unix folder that
// Wine's mount manager maps to a letter with a drive type, exactly as it does
// for a real USB stick; its label lives in the folder's .windows-label file.
#pragma once

#include <string>

namespace wine_drives {

// The temporary files of a replaced installer (system/replacement_file.h)
// in a folder ("E:\\" or "E:"); a copy or download must leave none behind.
std::wstring ReplacementFilePattern(const std::wstring& folder);
int ReplacementFilesIn(const std::wstring& folder);

// Unix path of a new, empty folder under this run's fixture directory.
std::string NewFolder(const std::string& name);

// The same folder as a Windows path (through drive Z:).
std::wstring DosPath(const std::string& unixPath);

void WriteLabelFile(const std::string& folder, const std::string& label);
// The label file's content without a trailing line break; "" when missing.
std::string ReadLabelFile(const std::string& folder);

// Unix path of one of the read-only media prepared by the test runner
// (tests/fixtures/readonly/NAME, mounted read-only).
std::string ReadOnlyFolder(const std::string& name);

// Unix path of the faulty medium that the test runner mounts when the test
// is registered with MPI_FAULTY_MEDIUM=1 (tests/support/faulty_medium.py),
// emptied and giving back every byte as written.
std::string FaultyMediumFolder();
// How the faulty medium gives bytes back from now on: "none", or
// "zeros N", "flip N", "eio N" for reads at or past offset N.
void SetMediumFault(const std::string& fault);

// A drive letter mapped for the lifetime of the object; the letter is
// removed again when it goes out of scope.
class Drive {
 public:
  static Drive Removable(wchar_t letter, const std::string& folder);
  static Drive Fixed(wchar_t letter, const std::string& folder);
  // New folder with the given label, mapped as a removable drive.
  static Drive RemovableWithLabel(wchar_t letter, const std::string& label);

  Drive(Drive&& other) noexcept;
  Drive& operator=(Drive&&) = delete;
  Drive(const Drive&) = delete;
  ~Drive();

  // Defines the letter anew, which makes Wine read the label file again (it
  // otherwise keeps the label it read when the drive was defined).
  void Replug();
  void Pull();

  const std::string& folder() const { return folder_; }
  std::wstring root() const { return std::wstring(1, letter_) + L":\\"; }

 private:
  Drive(wchar_t letter, unsigned type, std::string folder);
  wchar_t letter_;
  unsigned type_;
  std::string folder_;
  bool mapped_ = false;
};

// Maps or unmaps a letter through the mount manager; throws on failure.
void DefineDrive(wchar_t letter, unsigned driveType, const std::string& unixFolder);
void UndefineDrive(wchar_t letter);

}  // namespace wine_drives
