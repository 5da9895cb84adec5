#pragma once

// What the robots and the webhook share: a JSON POST to one address, paced and retried, and its
// answer read into a Delivery. The body is built anew for each try, so a signed request always
// carries a fresh timestamp.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alerts/Delivery.h"
#include "alerts/Retrying.h"
#include "alerts/WebhookAddress.h"
#include "base/Cancellation.h"

namespace korvel::alerts {

struct JsonRequest {
    std::string query;                     // appended to the address's target ("&a=b"), if any
    std::string body;                      // UTF-8 JSON
    std::vector<std::string> headerLines;  // beyond Content-Type
};

// How a 2xx answer says whether the message went out. No code member: any 2xx is delivered.
struct AnswerRule {
    std::string codeMember;               // "errcode", "code"; empty: the status alone decides
    std::string messageMember;            // "errmsg", "msg"
    std::vector<long long> rateLimitCodes;  // the robot's own "too often" codes
    // Feishu's older hooks answered {"StatusCode":0,…} without a code.
    std::string fallbackCodeMember;
};

class JsonEndpoint {
public:
    // `secrets` beyond the address's own key-like parts; `pace` paces the address when given.
    JsonEndpoint(ChannelKind channel, const std::string& address, std::vector<std::string> secrets, AnswerRule rule,
                 RetryPolicy retry, const PaceLimit* pace);

    Delivery post(const std::function<JsonRequest()>& request, Cancellation& cancel) const;

    // The channel and host a cause names.
    DeliveryCause who() const;
    // Failed for unusable settings; `problem` is UTF-8.
    Delivery refused(const std::string& problem) const;
    const std::vector<std::string>& secrets() const { return secrets_; }

private:
    Delivery attempt(const JsonRequest& request, Cancellation& cancel) const;
    Delivery answer(int status, const std::string& body, const std::string& retryAfter) const;

    ChannelKind channel_;
    std::string problem_;  // before address_, which the parse that fills it makes
    std::optional<WebhookAddress> address_;
    std::vector<std::string> secrets_;
    AnswerRule rule_;
    RetryPolicy retry_;
    std::shared_ptr<Pacer> pacer_;
};

}  // namespace korvel::alerts
