#include "alerts/FeishuChannel.h"

#include <algorithm>
#include <chrono>

#include "alerts/Digests.h"
#include "alerts/RunTime.h"
#include "text/JsonString.h"

namespace korvel::alerts {
namespace {

// 11232 is the bot's documented flow control; 9499 ("too many requests") is as operators report
// it and is taken for a rate limit too, as is HTTP 429.
AnswerRule FeishuAnswer()
{
    return {"code", "msg", {9499, 11232}, "StatusCode"};
}

std::string Signature(const std::string& secret)
{
    if (secret.empty())
        return {};
    const std::string timestamp = UnixSeconds(std::chrono::system_clock::now());
    std::string fields = R"("timestamp":")" + timestamp + R"(",)";
    AppendJsonString(fields += R"("sign":)", Base64(HmacSha256(timestamp + "\n" + secret, "")));
    return fields + ",";
}

// Each line a paragraph of one text element.
std::string Post(const AlertMessage& message)
{
    std::string content;
    AppendJsonString(content += R"({"post":{"zh_cn":{"title":)", message.title);
    content += R"(,"content":[)";
    std::string_view rest = message.text;
    for (bool first = true; first || !rest.empty(); first = false) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        AppendJsonString(content += first ? R"([{"tag":"text","text":)" : R"(,[{"tag":"text","text":)",
                         rest.substr(0, end));
        content += "}]";
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return content + "]}}}";
}

}  // namespace

FeishuChannel::FeishuChannel(FeishuSettings settings)
    : settings_(std::move(settings)),
      endpoint_(ChannelKind::Feishu, settings_.webhook, {settings_.secret}, FeishuAnswer(), settings_.retry,
                &settings_.pace)
{
}

Delivery FeishuChannel::send(const AlertMessage& message, Cancellation& cancel)
{
    std::string content;
    if (settings_.richText) {
        content = R"("msg_type":"post","content":)" + Post(message);
    } else {
        AppendJsonString(content = R"("msg_type":"text","content":{"text":)", message.text);
        content += "}";
    }
    return endpoint_.post([&] { return JsonRequest{{}, "{" + Signature(settings_.secret) + content + "}", {}}; }, cancel);
}

}  // namespace korvel::alerts
