#include "http/detail/socket_error.h"

#include <cstdio>

namespace {

struct CodeText {
  int code;
  const char* text;
};

constexpr CodeText kTexts[] = {
    {10013, "Permission denied."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {11001, "Host not found."},
    {11002, "Non-authoritative host not found."},
    {11004, "Valid name, no data record of requested type."},
};

}  // namespace

int WinsockCodeFromOsError(long osError) {
#ifdef _WIN32
  return static_cast<int>(osError);
#else
  // Linux errno values of the socket failures a download can meet.
  switch (osError) {
    case 13:
      return 10013;  // EACCES
    case 32:
      return 10053;  // EPIPE: the peer is gone while sending
    case 98:
      return 10048;  // EADDRINUSE
    case 99:
      return 10049;  // EADDRNOTAVAIL
    case 100:
      return 10050;  // ENETDOWN
    case 101:
      return 10051;  // ENETUNREACH
    case 102:
      return 10052;  // ENETRESET
    case 103:
      return 10053;  // ECONNABORTED
    case 104:
      return 10054;  // ECONNRESET
    case 105:
      return 10055;  // ENOBUFS
    case 107:
      return 10057;  // ENOTCONN
    case 110:
      return 10060;  // ETIMEDOUT
    case 111:
      return 10061;  // ECONNREFUSED
    case 112:
      return 10064;  // EHOSTDOWN
    case 113:
      return 10065;  // EHOSTUNREACH
    default:
      return static_cast<int>(osError);
  }
#endif
}

std::string WinsockErrorText(int code) {
  for (const CodeText& entry : kTexts) {
    if (entry.code == code) return entry.text;
  }
  char text[48];
  std::snprintf(text, sizeof text, "Socket error %d.", code);
  return text;
}
