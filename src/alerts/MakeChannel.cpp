#include "alerts/ChannelSettings.h"
#include "alerts/DingTalkChannel.h"
#include "alerts/EmailChannel.h"
#include "alerts/FeishuChannel.h"
#include "alerts/WeComChannel.h"
#include "alerts/WebhookChannel.h"

namespace korvel::alerts {
namespace {

std::unique_ptr<Channel> Made(const DingTalkSettings& s) { return std::make_unique<DingTalkChannel>(s); }
std::unique_ptr<Channel> Made(const WeComSettings& s) { return std::make_unique<WeComChannel>(s); }
std::unique_ptr<Channel> Made(const FeishuSettings& s) { return std::make_unique<FeishuChannel>(s); }
std::unique_ptr<Channel> Made(const WebhookSettings& s) { return std::make_unique<WebhookChannel>(s); }
std::unique_ptr<Channel> Made(const EmailSettings& s) { return std::make_unique<EmailChannel>(s); }

}  // namespace

std::unique_ptr<Channel> MakeChannel(const ChannelSettings& settings)
{
    return std::visit([](const auto& chosen) { return Made(chosen); }, settings);
}

}  // namespace korvel::alerts
