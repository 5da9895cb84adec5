#include "store/StorePath.h"

#include <cstdlib>

#include "base/Overrides.h"

namespace korvel {
namespace {

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string DefaultStorePath()
{
    if (std::string file = overrides::StoreFile(); !file.empty())
        return file;
    std::string data = Variable("XDG_DATA_HOME");
    if (data.empty() || data.front() != '/') {
        const std::string home = Variable("HOME");
        if (home.empty())
            return "";
        data = home + "/.local/share";
    }
    return data + "/korvel/korvel.sqlite";
}

}  // namespace korvel
