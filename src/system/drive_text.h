// Text forms of drives: the root handed to the platform and the entry shown
// in the drive selector. Kept free of windows.h so the rules are testable
// natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Root of the drive named by the first character of `text`, taken as it is
// (not checked for being a letter, case kept): "E:\\    [DATA]" -> "E:\\".
// An empty text gives ":\\", which names no drive.
std::wstring DriveRoot(std::wstring_view text);

// Root formed from the drive selector's text. A blank is appended first, so
// an empty selector text gives " :\\" (names no drive) instead of ":\\".
std::wstring SelectorRoot(std::wstring_view selectorText);

// "E:\\" + four blanks + "[" + label + "]".
std::wstring DriveEntry(std::wstring_view root, std::wstring_view label);

// The letters a removable-drive scan probes, highest first: Z down to C.
// A and B are floppy letters by convention and are never probed.
std::vector<std::wstring> ScanRoots();

// The same, limited to the letters set in `presentLetters` (bit 0 = A, as
// GetLogicalDrives gives them). A mask of 0 means the platform could not
// say, and then every letter is probed.
std::vector<std::wstring> ScanRoots(std::uint32_t presentLetters);

// Copies `text` plus its terminating zero into a buffer of `capacity`
// characters. Returns false and leaves the buffer untouched when the text
// does not fit; the platform then never sees a truncated or unterminated
// text.
bool CopyToFixedBuffer(std::wstring_view text, wchar_t* buffer, std::size_t capacity);

// Capacities, in characters with the terminator, of the buffers through
// which roots and labels go to the platform.
inline constexpr std::size_t kRootBufferChars = 11;
inline constexpr std::size_t kLabelBufferChars = 256;
