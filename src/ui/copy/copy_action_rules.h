// Decisions of the copy action and of the installer copy that need no
// platform: the label confirmation, which installer step runs, the texts of
// the copy's log lines and its byte counting. Kept free of windows.h so that
// they are tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/product.h"

// Only "a".."z" become "A".."Z": a label is compared the way the FAT label
// field is written, and letters outside ASCII are left exactly as read.
std::wstring UpperCaseAsciiLetters(std::wstring_view text);

// Whether the label read back from the target shows that it took the product
// label: the upper-cased label contains it anywhere.
bool LabelConfirmsProduct(std::wstring_view labelReadBack);

enum class InstallerStep { kNone, kDownload, kCopyFromFile };

// The two options decide how the installer gets onto the target. The
// download option is looked at first: set on its own it does nothing,
// because the installer option is what asks for an installer at all.
InstallerStep ChooseInstallerStep(bool downloadOption, bool installerOption);

// Target of the installer copy: the root followed by the file name.
std::wstring InstallerTargetPath(std::wstring_view targetRoot, std::wstring_view fileName);

// "Kopiuję E:\dvl.exe  5242880 bytes"; size is -1 when the source did not open.
std::wstring CopySizeLine(std::wstring_view targetPath, std::int64_t size);
// "Pozostało : 5904 bytes"; the count may be negative.
std::wstring CopyRemainingLine(std::int64_t remaining);
// "Ok" when every byte of the source was written, "Błąd" otherwise.
std::wstring CopyOutcomeLine(std::int64_t remaining);

// Byte counting of the block copy. Counts are 64-bit so that sources of
// 2 GiB and more are shown with their true size and judged correctly.
class CopyCounter {
 public:
  explicit CopyCounter(std::int64_t size) : remaining_(size) {}
  // Counts one block and tells whether another block follows: the copy ends
  // at the first block that reads nothing or whose write fell short.
  bool CountBlock(std::uint32_t readCount, std::uint32_t writtenCount);
  std::int64_t remaining() const { return remaining_; }

 private:
  std::int64_t remaining_;
};

// The DOS date and time hold local years 1980 to 2107 only; a time outside
// them must not be carried over (some converters wrap it into range).
bool DosDateTimeHoldsYear(int localYear);
