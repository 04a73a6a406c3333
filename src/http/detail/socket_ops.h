// The few socket calls the adapter makes itself: libcurl's open and close
// socket callbacks must create and close the socket they report on.
#pragma once

#include <curl/curl.h>

#include <string>

curl_socket_t OpenSocketFor(const curl_sockaddr& address);
void CloseSocket(curl_socket_t socket);
// "127.0.0.1" for an IPv4 address; the empty text for other families.
std::string NumericAddress(const curl_sockaddr& address);
