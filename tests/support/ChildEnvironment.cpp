#include "support/ChildEnvironment.h"

#include <string_view>

extern char** environ;

namespace korvel::test {

std::vector<std::string> ChildEnvironment(std::vector<std::string> first)
{
    first.push_back("LANG=C.UTF-8");
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        if (!text.starts_with("KORVEL_") && !text.starts_with("LANG=") && !text.starts_with("LC_"))
            first.emplace_back(text);
    }
    return first;
}

std::vector<char*> EnvironmentPointers(std::vector<std::string>& entries)
{
    std::vector<char*> pointers;
    for (auto& entry : entries)
        pointers.push_back(entry.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace korvel::test
