#include "alerts/WebhookChannel.h"

#include <chrono>

#include "alerts/Digests.h"
#include "alerts/RunTime.h"
#include "text/JsonString.h"

namespace korvel::alerts {
namespace {

// The export's lines are one object each; joined by commas they are the array.
std::string ChangesArray(const std::vector<ChangeRow>& rows)
{
    std::string lines = ChangesJsonLines(rows);
    if (!lines.empty())
        lines.pop_back();
    for (char& c : lines) {
        if (c == '\n')
            c = ',';
    }
    return "[" + lines + "]";
}

}  // namespace

std::string WebhookBody(const AlertMessage& message)
{
    std::string body = message.test ? R"({"event":"test","delivery":)" : R"({"event":"changes","delivery":)";
    AppendJsonString(body, message.deliveryId);
    AppendJsonString(body += ",\"shop\":", message.shop);
    body += ",\"run_before\":" + std::to_string(message.runBefore) + ",\"run_after\":" + std::to_string(message.runAfter);
    AppendJsonString(body += ",\"ended\":", UtcText(message.ended));
    body += ",\"total\":" + std::to_string(message.changes.size());
    AppendJsonString(body += ",\"title\":", message.title);
    AppendJsonString(body += ",\"text\":", message.text);
    return body + ",\"changes\":" + ChangesArray(message.changes) + "}";
}

WebhookChannel::WebhookChannel(WebhookSettings settings)
    : settings_(std::move(settings)),
      endpoint_(ChannelKind::Webhook, settings_.url, {settings_.secret}, AnswerRule{}, settings_.retry, nullptr)
{
}

Delivery WebhookChannel::send(const AlertMessage& message, Cancellation& cancel)
{
    const std::string body = WebhookBody(message);
    return endpoint_.post(
        [&] {
            const std::string timestamp = UnixSeconds(std::chrono::system_clock::now());
            JsonRequest request{{}, body, {"X-Korvel-Delivery: " + message.deliveryId, "X-Korvel-Timestamp: " + timestamp}};
            if (!settings_.secret.empty())
                request.headerLines.push_back("X-Korvel-Signature: sha256=" +
                                              Hex(HmacSha256(settings_.secret, timestamp + "." + body)));
            return request;
        },
        cancel);
}

}  // namespace korvel::alerts
