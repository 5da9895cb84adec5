#include "base/Overrides.h"

#include <cstdlib>

namespace korvel::overrides {
namespace {

std::string Read(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string ConnectTo()
{
    return Read("KORVEL_CONNECT_TO");
}

std::string CaFile()
{
    return Read("KORVEL_CA_FILE");
}

std::string BackendHost()
{
    return Read("KORVEL_BACKEND_HOST");
}

std::string ShopHost()
{
    return Read("KORVEL_SHOP_HOST");
}

std::string StoreFile()
{
    return Read("KORVEL_STORE");
}

}  // namespace korvel::overrides
