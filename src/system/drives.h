// Drive routines over kernel32. They keep no state: every call asks the
// platform again, so a drive plugged in or pulled out shows at the next call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Roots of all removable drives (type 2), highest letter first.
std::vector<std::wstring> ListRemovableDrives();

// Whether the platform reports `root` as a removable drive.
bool IsRemovableDrive(const std::wstring& root);

// Label of the drive named by the first character of `driveText`; the empty
// text when it cannot be read (no drive, no medium, no letter).
std::wstring GetDriveVolumeLabel(std::wstring_view driveText);

// Writes `label` as the volume label of the drive named by the first
// character of `driveText`. Success is not reported: callers read the label
// back. A label that does not fit the 256-character buffer is refused and
// nothing is written.
void SetDriveVolumeLabel(std::wstring_view driveText, std::wstring_view label);
