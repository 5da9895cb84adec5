#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel::tools {

// A certificate authority made for one run and a server certificate it signed. Nothing of it is
// trusted anywhere but where a client is pointed at caCert explicitly.
struct TlsFiles {
    std::string dir;
    std::string caCert;
    std::string serverCert;
    std::string serverKey;
};

// Writes a fresh CA and a server certificate for `hostNames` (entries such as "*.taobao.com" or
// "127.0.0.1") into `dir`, which must exist. Uses the openssl command; empty on any failure.
std::optional<TlsFiles> MakeThrowawayTls(const std::string& dir, const std::vector<std::string>& hostNames);

// A new private folder under the system's temporary directory; empty on failure.
std::string MakeTempDir(const std::string& prefix);

}  // namespace korvel::tools
