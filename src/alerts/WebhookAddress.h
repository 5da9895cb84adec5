#pragma once

// A robot's or receiver's address as the user pasted it. Its path and query usually hold the key
// that lets anyone post to the group, so it travels only encrypted: plain http is accepted for
// 127.0.0.1 alone, where nothing leaves the computer.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::alerts {

struct WebhookAddress {
    bool secure = true;
    std::string host;  // lower case; an IPv6 address keeps its brackets
    int port = 443;
    std::string target;  // path and query, from "/"

    // The parts that may be a key: every query value and every path segment of 8 bytes or more.
    std::vector<std::string> secrets() const;
};

// The address, or nothing with `problem` (UTF-8) saying what is wrong with it. Anything but
// http(s), a user name, a fragment, spaces or control bytes, a bad port are refused.
std::optional<WebhookAddress> ParseWebhookAddress(std::string_view text, std::string& problem);

// True for 127.0.0.1, the one host unencrypted traffic may go to.
bool IsLoopback(std::string_view host);

}  // namespace korvel::alerts
