#pragma once

// Which cells of a workbook are numbers: a price or a count the shop wrote plainly.

#include <optional>
#include <string_view>

namespace korvel {

// The number a cell's text is, when it is a clean one: an optional "-", digits and an optional
// point with digits ("12", "-3.50"), blanks around it allowed, at most 15 digits (what a
// spreadsheet's number keeps exactly). Nothing for anything else: "", "1.2.3", "10万+", "¥5",
// "+1", ".5", "1e3", "=1": such a cell stays text.
std::optional<double> CleanNumber(std::string_view text);

}  // namespace korvel
