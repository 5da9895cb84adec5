#include "alerts/WeComChannel.h"

#include "text/JsonString.h"

namespace korvel::alerts {
namespace {

// 45009 is the WeChat family's "api freq out of limit"; that the group robot answers a 21st message
// with it is what operators report, not something its own pages state, so HTTP 429 counts too.
AnswerRule WeComAnswer()
{
    return {"errcode", "errmsg", {45009}, ""};
}

}  // namespace

WeComChannel::WeComChannel(WeComSettings settings)
    : settings_(std::move(settings)),
      endpoint_(ChannelKind::WeCom, settings_.webhook, {}, WeComAnswer(), settings_.retry, &settings_.pace)
{
}

Delivery WeComChannel::send(const AlertMessage& message, Cancellation& cancel)
{
    std::string body;
    AppendJsonString(body += R"({"msgtype":"markdown","markdown":{"content":)", message.text);
    body += "}}";
    return endpoint_.post([&] { return JsonRequest{{}, body, {}}; }, cancel);
}

}  // namespace korvel::alerts
