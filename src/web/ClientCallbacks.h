#pragma once

// What libcurl calls back as one exchange's reply arrives: the body and the header block, and the
// redirect check. Free of libcurl's header, so the fuzz target of the header callback needs none.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "text/Text.h"
#include "web/TransferNotes.h"

namespace korvel {

struct Received {
    Bytes body;
    std::string headers;
    size_t maxBodyBytes = 0;
    TransferNotes notes;
    const std::function<bool(std::string_view)>* followAllowed = nullptr;
    std::string refusedLocation;
};

size_t TakeBody(char* data, size_t size, size_t count, void* user);
// The value of the header `lowerName` (lower case, without the colon) in a block of CR LF lines.
std::string HeaderValue(std::string_view block, std::string_view lowerName);
size_t TakeHeader(char* data, size_t size, size_t count, void* user);

}  // namespace korvel
