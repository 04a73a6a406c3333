// The texts of the check that reads a written installer back from the
// medium before it takes the old one's place. Free of windows.h so that
// they are tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "Sprawdzam zapis E:\dvl.exe": the check begins.
std::wstring ReadBackStartLine(std::wstring_view targetPath);
// "Do sprawdzenia : 5904 bytes", in the manner of the copy's remaining bytes.
std::wstring ReadBackRemainingLine(std::int64_t remaining);
// "SHA-256 : 9f86d0…", for comparing with a published checksum.
std::wstring ReadBackDigestLine(std::wstring_view hexDigest);
// The error box when the medium gave back other bytes than were written.
std::wstring ReadBackMismatchText(std::wstring_view targetPath);
// The error box when the medium could not be read back.
std::wstring ReadBackFailedText(std::wstring_view targetPath, std::wstring_view systemMessage);
