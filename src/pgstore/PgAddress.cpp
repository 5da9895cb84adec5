#include "pgstore/PgAddress.h"

namespace korvel::pg {

std::string RedactedAddress(std::string_view address)
{
    const size_t schemeEnd = address.find("://");
    if (schemeEnd == std::string_view::npos)
        return std::string(address);
    std::string_view rest = address.substr(schemeEnd + 3);
    rest = rest.substr(0, rest.find_first_of("?#"));
    // A password typed without percent-encoding may hold '@' or '/': everything up to the last
    // '@' is the user's.
    if (const size_t at = rest.rfind('@'); at != std::string_view::npos)
        rest.remove_prefix(at + 1);
    return std::string(address.substr(0, schemeEnd + 3)) + std::string(rest);
}

std::string WithoutSecret(std::string message, std::string_view secret)
{
    if (secret.empty())
        return message;
    for (size_t at = 0; (at = message.find(secret, at)) != std::string::npos; at += 3)
        message.replace(at, secret.size(), "***");
    return message;
}

}  // namespace korvel::pg
