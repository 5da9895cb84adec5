#include "alerts/Redact.h"

namespace korvel::alerts {

std::string Redacted(std::string_view text, const std::vector<std::string>& secrets)
{
    std::string out(text);
    for (const std::string& secret : secrets) {
        if (secret.empty())
            continue;
        for (std::size_t at = out.find(secret); at != std::string::npos; at = out.find(secret, at + 3))
            out.replace(at, secret.size(), "***");
    }
    return out;
}

}  // namespace korvel::alerts
