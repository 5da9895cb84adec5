#include "app/AppConstants.h"

#include "app/GbkCodec.h"
#include "base/Overrides.h"

namespace korvel {

AppConstants MakeAppConstants()
{
    AppConstants constants;
    constants.versionText = "V3.8";
    constants.productTitle = Utf8ToGbk("Korvel淘宝天猫采集系统");
    const std::string host = overrides::BackendHost();
    constants.backendHost = host.empty() ? kDefaultBackendHost : host;
    constants.backendAccountId = "1";
    return constants;
}

}  // namespace korvel
