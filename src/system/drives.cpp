#include "system/drives.h"

#include <windows.h>

#include "system/drive_text.h"

std::vector<std::wstring> ListRemovableDrives() {
  // One question for the letters that have a drive at all, then the type of
  // those only: a letter without a drive is never removable, and asking each
  // of the 24 letters its type costs several times more on every tick.
  std::vector<std::wstring> result;
  for (const std::wstring& root : ScanRoots(GetLogicalDrives())) {
    if (IsRemovableDrive(root)) {
      result.push_back(root);
    }
  }
  return result;
}

bool IsRemovableDrive(const std::wstring& root) { return GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE; }

std::wstring GetDriveVolumeLabel(std::wstring_view driveText) {
  wchar_t rootBuffer[kRootBufferChars] = {};
  wchar_t labelBuffer[kLabelBufferChars] = {};
  if (!CopyToFixedBuffer(DriveRoot(driveText), rootBuffer, kRootBufferChars)) {
    return {};
  }
  DWORD serial = 0;
  DWORD maxComponent = 0;
  DWORD flags = 0;
  // The result is deliberately not tested: on failure the buffer still holds
  // the empty text, which is what an unreadable label is taken to be.
  GetVolumeInformationW(rootBuffer, labelBuffer, kLabelBufferChars, &serial, &maxComponent, &flags, nullptr, 0);
  labelBuffer[kLabelBufferChars - 1] = L'\0';
  return labelBuffer;
}

void SetDriveVolumeLabel(std::wstring_view driveText, std::wstring_view label) {
  wchar_t rootBuffer[kRootBufferChars] = {};
  wchar_t labelBuffer[kLabelBufferChars] = {};
  if (!CopyToFixedBuffer(DriveRoot(driveText), rootBuffer, kRootBufferChars) ||
      !CopyToFixedBuffer(label, labelBuffer, kLabelBufferChars)) {
    return;
  }
  SetVolumeLabelW(rootBuffer, labelBuffer);
}
