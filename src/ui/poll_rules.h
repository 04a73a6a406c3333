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
