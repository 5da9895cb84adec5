#include "alerts/DingTalkChannel.h"

#include <chrono>

#include "alerts/Digests.h"
#include "alerts/RunTime.h"
#include "text/JsonString.h"

namespace korvel::alerts {
namespace {

// 130101: "send too fast, exceed 20 times per minute", as the robot answers a 21st message.
AnswerRule DingTalkAnswer()
{
    return {"errcode", "errmsg", {130101}, ""};
}

std::string Body(const AlertMessage& message, Rendering rendering)
{
    std::string body;
    if (rendering == Rendering::Markdown) {
        AppendJsonString(body += R"({"msgtype":"markdown","markdown":{"title":)", message.title);
        AppendJsonString(body += R"(,"text":)", message.text);
    } else {
        AppendJsonString(body += R"({"msgtype":"text","text":{"content":)", message.text);
    }
    return body += "}}";
}

std::string SignedQuery(const std::string& webhook, const std::string& secret)
{
    if (secret.empty())
        return {};
    const std::string timestamp = UnixMilliseconds(std::chrono::system_clock::now());
    return (webhook.find('?') == std::string::npos ? "?timestamp=" : "&timestamp=") + timestamp +
           "&sign=" + PercentEncode(Base64(HmacSha256(secret, timestamp + "\n" + secret)));
}

}  // namespace

DingTalkChannel::DingTalkChannel(DingTalkSettings settings)
    : settings_(std::move(settings)),
      endpoint_(ChannelKind::DingTalk, settings_.webhook, {settings_.secret}, DingTalkAnswer(), settings_.retry,
                &settings_.pace)
{
}

Delivery DingTalkChannel::send(const AlertMessage& message, Cancellation& cancel)
{
    const std::string body = Body(message, settings_.rendering);
    return endpoint_.post([&] { return JsonRequest{SignedQuery(settings_.webhook, settings_.secret), body, {}}; },
                          cancel);
}

}  // namespace korvel::alerts
