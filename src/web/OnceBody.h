#pragma once

// The request body as libcurl reads it, for a body that may go out only once.

#include <curl/curl.h>

#include <cstddef>
#include <string_view>

namespace korvel {

// A body handed to the client once: it cannot rewind it, so a resend it would make on its own
// (after a reused connection dropped) fails the request instead of sending the body twice. A 307
// or 308 answer is the one exception: the server asks for the same body at another address, and
// the body goes there once per redirect followed.
struct OnceBody {
    std::string_view bytes;
    size_t sent = 0;
    bool started = false;
    CURL* handle = nullptr;
    long redirectsRewound = 0;
};

size_t ReadOnce(char* buffer, size_t size, size_t count, void* user);
int RewindOnce(void* user, curl_off_t offset, int origin);

}  // namespace korvel
