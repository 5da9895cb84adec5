#pragma once

// Socket pieces the local servers share.

#include <string>

namespace korvel::tools {

// A listening socket on 127.0.0.1: on `port`, or on a free port (written to `port`) when it is 0;
// -1 on failure.
int ListenOnLoopback(int& port);

// The body length a request head announces; 0 without a Content-Length line.
size_t AnnouncedBody(const std::string& head);

}  // namespace korvel::tools
