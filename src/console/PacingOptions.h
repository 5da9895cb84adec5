#pragma once

// --delay MS and --retries N: one reading for a single shop and a batch, with the same bounds and
// the same complaint.

#include <chrono>
#include <string>

namespace korvel::console {

bool IsPacingOption(const std::string& option);
// Sets the delay or the retries the option names; an error text when the value is not one it takes.
std::string ApplyPacingOption(const std::string& option, const std::string& value, std::chrono::milliseconds& delay,
                              int& retries);

}  // namespace korvel::console
