#include "PacingOptions.h"

#include <charconv>
#include <optional>

namespace korvel::console {
namespace {

std::optional<long> Count(const std::string& text, long most)
{
    long value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > most)
        return std::nullopt;
    return value;
}

}  // namespace

bool IsPacingOption(const std::string& option)
{
    return option == "--delay" || option == "--retries";
}

std::string ApplyPacingOption(const std::string& option, const std::string& value, std::chrono::milliseconds& delay,
                              int& retries)
{
    const long most = option == "--delay" ? 3600000 : 100;
    const auto count = Count(value, most);
    if (!count)
        return option + " takes a whole number from 0 to " + std::to_string(most) + ", not \"" + value + "\"";
    if (option == "--delay")
        delay = std::chrono::milliseconds(*count);
    else
        retries = static_cast<int>(*count);
    return "";
}

}  // namespace korvel::console
