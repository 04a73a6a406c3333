// Socket errors in Winsock terms, whatever platform libcurl runs on.
#pragma once

#include <string>

// Winsock code for libcurl's OS error of a failed connect, send or receive:
// on Windows it already is one; elsewhere the errno is translated.
int WinsockCodeFromOsError(long osError);

// Winsock code for a host name that could not be resolved (WSAHOST_NOT_FOUND).
inline constexpr int kHostNotFound = 11001;
// Codes used when the platform gave no OS error for a failure.
inline constexpr int kConnectionReset = 10054;
inline constexpr int kConnectionTimedOut = 10060;
inline constexpr int kConnectionRefused = 10061;

// The client's text for a Winsock code, e.g. 10061 -> "Connection refused.".
std::string WinsockErrorText(int code);
