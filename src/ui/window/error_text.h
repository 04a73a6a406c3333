#pragma once

#include <string>

// Text of the default error box: a "." is appended when the last character
// sorts after "." in character code order ("Not Found" -> "Not Found.",
// "done." and "rate 50%" stay).
std::wstring ErrorBoxText(const std::wstring& message);
