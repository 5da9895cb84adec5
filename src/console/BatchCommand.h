#pragma once

// korvel-collect --batch: every shop of a list collected once, resumable after any stop. See
// BatchUsage for the options and exit statuses.

#include <string>
#include <vector>

#include "Interrupt.h"

namespace korvel::console {

extern const char BatchUsage[];

int RunBatchCommand(const std::vector<std::string>& args, InterruptWatch& interrupt);

}  // namespace korvel::console
