#pragma once

// The options of korvel-collect that concern the shop history.

#include <string>

#include "Arguments.h"

namespace korvel::console {

// --changes, --runs, --store, --jsonl: the options with a value.
bool IsHistoryOption(const std::string& option);
// An error text when the value is not one the option takes.
std::string ApplyHistoryOption(CollectCommand& command, const std::string& option, const std::string& value);
// Once every argument is read: an error text for options that do not go together.
std::string CheckHistoryOptions(const CollectCommand& command, bool haveShop);

}  // namespace korvel::console
