#pragma once

// Whether the sign-in window may accept a certificate its browser refused for an unknown
// authority: only when the chain is signed, link by link, up to a CA of KORVEL_CA_FILE (the demo
// shop's throwaway CA), is valid at the time and names the host. This is where the user types the
// marketplace password, so nothing less than the check the requests make will do.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

enum class ChainVerdict {
    Trusted,
    Untrusted,   // no signature path to one of the CAs (a forged certificate with a CA's name too)
    WrongHost,   // issued by a CA, but for another name
    Expired,     // issued by a CA, but not valid at the time (expired or not yet valid)
    Unreadable,  // no certificate or no CA could be read
};

// `chain`: the server's certificates as PEM, leaf first; `caPem`: the trusted CAs (PEM, one or
// more); `unixTime`: the moment to check validity at.
ChainVerdict VerifyChain(const std::vector<std::string>& chain, std::string_view caPem, const std::string& host,
                         std::int64_t unixTime);

}  // namespace korvel
