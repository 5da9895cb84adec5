#pragma once

// The address of the operator's back-end as the operator writes it: "host[:port]" (plain HTTP, the
// form back-ends have always been given), "http://host[:port]" or "https://host[:port]". Nothing
// else: a path, a query, a user name, a space or any other character is refused, so an address
// that was mistyped sends nobody's password anywhere.

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

struct BackendAddress {
    bool secure = false;
    std::string host;  // a name, an IPv4 address or a bracketed IPv6 address
    int port = 0;      // 0: the scheme's own

    // Where every member upload goes.
    std::string endpoint() const;
    // This machine: "localhost", 127.0.0.0/8 or [::1]. Nothing sent there crosses a network.
    bool local() const;
};

std::optional<BackendAddress> ParseBackendAddress(std::string_view text);

}  // namespace korvel
