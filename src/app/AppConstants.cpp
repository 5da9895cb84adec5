#include "app/AppConstants.h"

#include "app/BackendSetting.h"
#include "app/GbkCodec.h"

namespace korvel {

AppConstants MakeAppConstants()
{
    AppConstants constants;
    constants.versionText = "V3.8";
    constants.productTitle = Utf8ToGbk("Korvel淘宝天猫采集系统");
    constants.backendHost = BackendAddressAtStart();
    constants.backendAccountId = "1";
    return constants;
}

}  // namespace korvel
