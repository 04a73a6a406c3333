#include "http/detail/socket_ops.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstring>

curl_socket_t OpenSocketFor(const curl_sockaddr& address) {
  return socket(address.family, address.socktype, address.protocol);
}

void CloseSocket(curl_socket_t socket) {
#ifdef _WIN32
  closesocket(socket);
#else
  close(socket);
#endif
}

std::string NumericAddress(const curl_sockaddr& address) {
  if (address.family != AF_INET) return {};
  sockaddr_in in;
  std::memcpy(&in, &address.addr, sizeof in);
  unsigned char bytes[4];
  std::memcpy(bytes, &in.sin_addr, sizeof bytes);
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
         std::to_string(bytes[3]);
}
