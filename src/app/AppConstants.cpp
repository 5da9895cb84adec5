#include "app/AppConstants.h"

#include <cstdlib>

#include "app/GbkCodec.h"

namespace korvel {

AppConstants MakeAppConstants()
{
    AppConstants constants;
    constants.versionText = "V3.8";
    constants.productTitle = Utf8ToGbk("Korvel淘宝天猫采集系统");
    const char* host = std::getenv("KORVEL_BACKEND_HOST");
    constants.backendHost = (host != nullptr && *host != '\0') ? host : kDefaultBackendHost;
    constants.backendAccountId = "1";
    return constants;
}

}  // namespace korvel
