// Decisions of the poll tick that need no window: the target status text
// and the single-drive rule for the selector's text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// `prefix` followed by the roots joined by "; " in the order given, or by
// " BRAK" when there are none ("Dysk wymienny : " + " BRAK" has two blanks).
std::wstring TargetStatusText(std::wstring_view prefix, const std::vector<std::wstring>& roots);

// Whether the drive list must be rebuilt: the entries it shows (in its
// sorted order) are not the entries the tick found (in scan order). A list
// left alone keeps the highlight of an open drop-down.
bool DriveListDiffers(std::vector<std::wstring> shown, std::vector<std::wstring> found);

// With exactly one entry in the list, the selector shows that entry: the
// text to write when the selector shows something else. Nothing to write
// with no entry, several entries, or the entry already shown.
std::optional<std::wstring> SingleDriveSelectorText(const std::vector<std::wstring>& entries,
                                                    std::wstring_view selectorText);

// Whether a WM_DEVICECHANGE notice (its event and, where it carries one, its
// device type) brings the poll's work forward: a volume that arrived or was
// removed, while the poll runs (not during a copy or download, which switch
// it off). Values are dbt.h's.
inline constexpr unsigned kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
inline constexpr unsigned kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE
inline constexpr unsigned long kDeviceTypeVolume = 2;      // DBT_DEVTYP_VOLUME
bool DeviceChangeRunsPoll(unsigned event, unsigned long deviceType, bool pollOn);
