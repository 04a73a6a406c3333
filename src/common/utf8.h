// UTF-8 and the platform's wide text, without the platform: the same code
// serves the native tests and the Windows build.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-8 form of a wide text (error texts travel in std::exception as UTF-8;
// URLs are 8-bit). An unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);

// Wide form of strict UTF-8 (no overlong forms, no surrogates, at most
// U+10FFFF); nothing when `bytes` is not that.
std::optional<std::wstring> WideFromUtf8(std::string_view bytes);
