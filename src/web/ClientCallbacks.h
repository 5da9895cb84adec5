#pragma once

// What libcurl calls back during one exchange: the body and header block as they arrive, the
// redirect check, and the body that may go out only once.

#include <curl/curl.h>

#include <functional>
#include <string>
#include <string_view>

#include "text/Text.h"
#include "web/Transfer.h"

namespace korvel {

// A body handed to the client once: it cannot rewind it, so a resend it would make on its own
// (after a reused connection dropped) fails the request instead of sending the body twice.
struct OnceBody {
    std::string_view bytes;
    size_t sent = 0;
    bool started = false;
};

struct Received {
    Bytes body;
    std::string headers;
    size_t maxBodyBytes = 0;
    TransferNotes notes;
    const std::function<bool(std::string_view)>* followAllowed = nullptr;
    std::string refusedLocation;
};

size_t TakeBody(char* data, size_t size, size_t count, void* user);
size_t TakeHeader(char* data, size_t size, size_t count, void* user);
size_t ReadOnce(char* buffer, size_t size, size_t count, void* user);
int RewindOnce(void* user, curl_off_t offset, int origin);

}  // namespace korvel
