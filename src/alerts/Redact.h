#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel::alerts {

// `text` with every occurrence of every secret replaced by "***": what a server or libcurl says
// goes into a cause only through this.
std::string Redacted(std::string_view text, const std::vector<std::string>& secrets);

}  // namespace korvel::alerts
