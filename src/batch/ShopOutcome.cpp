#include "batch/ShopOutcome.h"

#include <array>
#include <utility>

namespace korvel::batch {
namespace {

constexpr std::array<std::pair<ShopOutcome, std::string_view>, 4> Names = {{
    {ShopOutcome::Complete, "complete"},
    {ShopOutcome::Incomplete, "incomplete"},
    {ShopOutcome::Failed, "failed"},
    {ShopOutcome::Blocked, "blocked"},
}};

}  // namespace

std::string_view OutcomeName(ShopOutcome outcome)
{
    for (const auto& [value, name] : Names) {
        if (value == outcome)
            return name;
    }
    return "failed";
}

std::optional<ShopOutcome> OutcomeNamed(std::string_view name)
{
    for (const auto& [value, known] : Names) {
        if (known == name)
            return value;
    }
    return std::nullopt;
}

int BatchExitStatus(BatchEnd end, bool allComplete)
{
    switch (end) {
        case BatchEnd::Interrupted:
            return batch_exit::Interrupted;
        case BatchEnd::StoppedBlocked:
            return batch_exit::Blocked;
        case BatchEnd::Finished:
            break;
    }
    return allComplete ? batch_exit::AllComplete : batch_exit::SomeNotComplete;
}

}  // namespace korvel::batch
