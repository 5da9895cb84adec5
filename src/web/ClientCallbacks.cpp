#include "web/ClientCallbacks.h"

#include <algorithm>
#include <charconv>

#include "text/Text.h"

namespace korvel {

size_t TakeBody(char* data, size_t size, size_t count, void* user)
{
    auto* received = static_cast<Received*>(user);
    const size_t n = size * count;
    // Returning less than was offered makes the client abandon the transfer.
    if (n > received->maxBodyBytes - received->body.size()) {
        received->notes.bodyTooLarge = true;
        return 0;
    }
    received->body.append(data, n);
    return n;
}

// The client reads a name in any letter case, so the search does too.
std::string HeaderValue(std::string_view block, std::string_view lowerName)
{
    size_t start = 0;
    while (start < block.size()) {
        const size_t end = std::min(block.find("\r\n", start), block.size());
        const std::string_view line = block.substr(start, end - start);
        if (line.size() > lowerName.size() && line[lowerName.size()] == ':' &&
            ToLowerAscii(line.substr(0, lowerName.size())) == lowerName)
            return TrimSpaces(line.substr(lowerName.size() + 1));
        start = end + 2;
    }
    return {};
}

namespace {

// At the end of a redirect's header block: may the client go where it points?
bool MayFollow(Received& received)
{
    if (received.followAllowed == nullptr || !*received.followAllowed || received.headers.size() < 12 ||
        received.headers[9] != '3')
        return true;
    const std::string location = HeaderValue(received.headers, "location");
    if (location.empty() || (*received.followAllowed)(location))
        return true;
    received.notes.redirectRefused = true;
    received.refusedLocation = location;
    return false;
}

// A body announced larger than the limit is refused before a byte of it is read.
bool AnnouncesTooMuch(std::string_view line, size_t maxBodyBytes)
{
    constexpr std::string_view name = "content-length:";
    if (line.size() <= name.size() || ToLowerAscii(line.substr(0, name.size())) != name)
        return false;
    const std::string value = TrimSpaces(line.substr(name.size()));
    unsigned long long announced = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), announced);
    return error == std::errc() && end != value.data() && announced > maxBodyBytes;
}

}  // namespace

size_t TakeHeader(char* data, size_t size, size_t count, void* user)
{
    auto* received = static_cast<Received*>(user);
    const size_t n = size * count;
    const std::string_view line(data, n);
    // Redirects the client follows itself bring one block per hop: keep the last.
    if (line.starts_with("HTTP/"))
        received->headers.clear();
    // A server ending its lines with LF alone still yields a block of CR LF lines.
    if (line.ends_with('\n') && !line.ends_with("\r\n")) {
        received->headers.append(data, n - 1);
        received->headers += "\r\n";
    } else {
        received->headers.append(data, n);
    }
    if (line == "\r\n" || line == "\n")
        return MayFollow(*received) ? n : 0;
    if (AnnouncesTooMuch(line, received->maxBodyBytes)) {
        received->notes.bodyTooLarge = true;
        return 0;
    }
    return n;
}

}  // namespace korvel
