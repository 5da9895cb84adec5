#pragma once

// A batch's name in the store: the operator's --batch-id (say, the day of a daily run), or else
// the list's content, so running the same list again continues it.

#include <optional>
#include <string>
#include <vector>

namespace korvel::batch {

// "list-" and 16 hex digits of the normalised list (its hosts, lower case, in order, one per line):
// notes, blanks, case and repeated hosts do not change it.
std::string ListBatchId(const std::vector<std::string>& hosts);

// Why a --batch-id cannot be used, or empty: 1 to 128 characters, none of them a control character.
std::string BatchIdFault(const std::string& name);

}  // namespace korvel::batch
