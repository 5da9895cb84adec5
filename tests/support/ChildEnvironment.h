#pragma once

// The environment a test gives a program it starts: its own (sanitizer options included) without
// any KORVEL_* or locale variable, a UTF-8 locale, and the given entries first.

#include <string>
#include <vector>

namespace korvel::test {

std::vector<std::string> ChildEnvironment(std::vector<std::string> first = {});

// Pointers into `entries` (an environment or arguments), ending in nullptr, for posix_spawn.
std::vector<char*> EnvironmentPointers(std::vector<std::string>& entries);

}  // namespace korvel::test
