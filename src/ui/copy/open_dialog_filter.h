// The open-file dialog's filter settings in the platform's form. Free of
// windows.h, so that the conversion is tested natively.
#pragma once

#include <string>
#include <string_view>

// Filter list of the open-file dialog in its written form, "Name|pattern|..."
// to the platform's form: every "|" a zero, closed by two zeros.
std::wstring DialogFilterList(std::wstring_view pipeSeparated);
// The platform reads filter index 0 as "a custom filter"; there is none, so
// 0 and 1 both mean the first filter.
unsigned DialogFilterIndex(int filterIndex);
