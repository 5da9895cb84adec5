#include "support/Sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace korvel::tools {

int ListenOnLoopback(int& port)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 64) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener >= 0)
            close(listener);
        return -1;
    }
    port = ntohs(address.sin_port);
    return listener;
}

// The body length a request head announces; 0 without a Content-Length line.
size_t AnnouncedBody(const std::string& head)
{
    constexpr std::string_view name = "\r\ncontent-length:";
    for (size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
        if (strncasecmp(head.c_str() + at, name.data(), name.size()) == 0)
            return std::strtoul(head.c_str() + at + name.size(), nullptr, 10);
    }
    return 0;
}

}  // namespace korvel::tools
