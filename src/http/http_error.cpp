#include "http/http_error.h"

#include "http/detail/socket_error.h"

HttpSocketError::HttpSocketError(int code)
    : HttpError("Socket Error # " + std::to_string(code) + "\r\n" + WinsockErrorText(code)), code_(code) {}
