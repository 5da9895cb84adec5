#pragma once

// Process-wide settings of the HTTP client behind Send. The window never shows them: the
// tests, the demo shop and the benchmarks use them to route shop hosts to local servers and to
// trust a throwaway CA. Two of them also come from the environment (Overrides.h):
//   KORVEL_CONNECT_TO  comma-separated "HOST:PORT:ADDRESS:PORT" entries: connect to ADDRESS:PORT
//                      when asked for HOST:PORT (the Host header and the TLS name stay HOST);
//   KORVEL_CA_FILE     a PEM file of CAs trusted in addition to the system store.
// Unset, they change nothing. A value set from code wins over the environment until it is cleared
// again with std::nullopt. Requests read the settings when they start.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace korvel {

struct HttpSettings {
    std::string connectTo;    // as KORVEL_CONNECT_TO; empty = no rerouting
    std::string extraCaFile;  // as KORVEL_CA_FILE; empty = system store only
    // No request waits on a server without bound: a connection (TLS handshake included) within
    // connectTimeout; at least idleMinimumBytes in every idleTimeout, so a server that accepts and
    // never answers, or drips a few bytes a second, is given up; the whole request within
    // totalTimeout, however the server paces itself.
    std::chrono::seconds connectTimeout{15};
    std::chrono::seconds idleTimeout{20};
    long idleMinimumBytes = 1024;
    std::chrono::seconds totalTimeout{120};
    bool connectionReuse = true;
    std::size_t maxBodyBytes = std::size_t{256} << 20;
};

void SetConnectTo(std::optional<std::string> entries);
void SetExtraCaFile(std::optional<std::string> pemPath);
void SetTimeouts(std::chrono::seconds connect, std::chrono::seconds idle,
                 std::chrono::seconds total = HttpSettings().totalTimeout);
// false = every request opens a new connection and closes it afterwards (for comparisons).
void SetConnectionReuse(bool allowed);
// A response body larger than this is abandoned and the request yields an empty result.
void SetMaxBodyBytes(std::size_t bytes);

// Closes the connections kept open for later requests, e.g. before a local server is stopped
// (a server that waits for its kept connections to time out stops slowly otherwise).
void CloseIdleConnections();

// Back to the defaults and the environment.
void ResetHttpSettings();

// The settings a request starting now uses: the code's values, else the environment's.
HttpSettings CurrentHttpSettings();

}  // namespace korvel
