#include "batch/ProgressText.h"

#include <cstdio>

namespace korvel::batch {

std::string Clock(std::chrono::seconds time)
{
    const long long total = time.count() < 0 ? 0 : time.count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    return text;
}

std::string ProgressLine(const BatchTally& p)
{
    std::string line = std::to_string(p.done) + "/" + std::to_string(p.total) + " shops, " +
                       std::to_string(p.notComplete) + " not complete, " + std::to_string(p.products) + " products";
    if (!p.shop.empty()) {
        line += " | " + p.shop + " page " + std::to_string(p.page);
        if (p.pages > 0)
            line += "/" + std::to_string(p.pages);
    }
    line += " | " + Clock(p.elapsed);
    // Until one shop has ended there is nothing to estimate from.
    if (p.doneThisRun > 0 && p.total > p.done) {
        const auto rest = p.elapsed * (p.total - p.done) / p.doneThisRun;
        line += ", about " + Clock(rest) + " left";
    }
    return line;
}

std::string ShopLine(const std::string& shop, ShopOutcome outcome, long long products, const std::string& cause)
{
    std::string line = shop + ": " + std::string(OutcomeName(outcome)) + ", " + std::to_string(products) + " products";
    if (cause.empty())
        return line;
    // One line per shop, whatever the cause names: several lost pages become one list.
    line += ": ";
    for (const char c : cause)
        line += c == '\n' ? std::string("; ") : c == '\r' ? std::string() : std::string(1, c);
    return line;
}

}  // namespace korvel::batch
