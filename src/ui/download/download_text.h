// Texts and arithmetic of the installer download: the log lines, the
// percentage and its rounding, the percentage-line test, the verdict of a
// body and the error texts. Kept free of windows.h so the rules are tested
// natively; only the upper-casing comes from the platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/utf8.h"

// Request values of the window's HTTP client.
inline constexpr char kDownloadAccept[] = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
inline constexpr char kDownloadUserAgent[] = "Mozilla/3.0 (compatible; Indy Library)";

// "Brak dostępu do internetu\r\rNie mogę pobrać " + file name: two carriage
// returns and no line feed, so the box shows an empty line between them.
std::wstring NoInternetAccessText(std::wstring_view fileName);

// "Pobieram : " + file name, the line written before the GET.
std::wstring DownloadingLine(std::wstring_view fileName);

// The text of the start line, written when a body begins.
std::wstring DownloadStartLine();

// "dest - method" for a redirect.
std::wstring RedirectLine(std::wstring_view dest, std::wstring_view method);

// The counters are signed 32-bit: the client's 64-bit count is cut to its
// low 32 bits (2^31 reads as -2^31, 2^32 + 5 as 5).
std::int32_t LowBits32(std::int64_t count);

// received / expected computed in extended precision, times 100, brought to
// the nearest integer with exact halves going to the even one (3 of 8 -> 38,
// 5 of 8 -> 62), whatever rounding mode the caller left set. `expected` must
// not be 0.
std::int64_t DownloadPercentage(std::int64_t received, std::int64_t expected);
// The percentage the log shows: DownloadPercentage held to 0..100, so that
// no count a server can bring about shows a nonsense figure.
std::int64_t ShownPercentage(std::int64_t received, std::int64_t expected);

// "Pobieram dane : 38 %".
std::wstring PercentageLine(std::int64_t percentage);
// "Pobieram dane : 70000 bytes": the progress of a body whose length is not
// known, where a percentage has nothing to divide by.
std::wstring ReceivedBytesLine(std::int64_t received);

// Whether a progress line is to be overwritten rather than followed: it
// contains "Pobieram dane :" in any letter case, both texts upper-cased by
// the platform's rules.
bool IsPercentageLine(std::wstring_view line);

// The platform's upper-casing (Windows: CharUpperBuffW); the native build
// upper-cases what the C library does.
std::wstring PlatformUpperCase(std::wstring_view text);

// Verdict of one body: the client's word that it ended where its framing
// says and is on the medium (a write that failed makes it incomplete), and,
// with a known expected size (not 0), the counts agreeing with it.
bool DownloadSucceeded(std::int64_t expected, std::int64_t received, bool complete);

// "Pobieranie pliku zakończone - Sukces" / "... - Niepowodzenie".
std::wstring DownloadEndLine(bool succeeded);

// Error of a target file that cannot be created: `Cannot create file "path".
// message`, the platform's message without trailing blanks, line breaks and
// full stops.
std::wstring CannotCreateFileText(std::wstring_view path, std::wstring_view systemMessage);
// The same form for a write into the target that failed during the GET.
std::wstring CannotWriteFileText(std::wstring_view path, std::wstring_view systemMessage);

// Text received from the server (status texts, a Location value) for the
// log: UTF-8 when it is valid UTF-8, otherwise byte by byte as Latin-1, so
// that no byte is dropped or turned into a question mark.
std::wstring ReceivedText(std::string_view bytes);

// ReceivedText cut to kServerTextShown characters with "…" after a cut: a
// log line never carries more of a server's text, since the log's word
// wrapping of one huge line would freeze the window.
std::wstring ShownServerText(std::string_view bytes);

// Base address + "/" + file name.
std::string DownloadUrl(std::string_view siteUrl, std::wstring_view fileName);
