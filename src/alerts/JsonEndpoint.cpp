#include "alerts/JsonEndpoint.h"

#include <algorithm>

#include "alerts/FlatJson.h"
#include "alerts/Redact.h"
#include "text/Gbk.h"
#include "web/HttpClient.h"
#include "web/RetryAfter.h"

namespace korvel::alerts {
namespace {

constexpr const char* UserAgent = "Korvel-Alerts";
constexpr int TooManyRequests = 429;

Exchange ExchangeOf(const WebhookAddress& address, const JsonRequest& request, Cancellation& cancel)
{
    Exchange exchange;
    exchange.secure = address.secure;
    exchange.host = address.host;
    exchange.port = address.port;
    exchange.path = address.target + request.query;
    exchange.post = true;
    exchange.sendBody = true;
    exchange.body = request.body;
    exchange.userAgent = UserAgent;
    exchange.headerLines = request.headerLines;
    exchange.headerLines.insert(exchange.headerLines.begin(), "Content-Type: application/json; charset=utf-8");
    // A robot never redirects; following one would carry the message somewhere else.
    exchange.noRedirect = true;
    exchange.cookieStore = false;
    exchange.cancel = &cancel;
    // A message the robot may already have posted is not posted twice by the client on its own.
    exchange.sendOnce = true;
    exchange.recentConnectionsOnly = true;
    return exchange;
}

}  // namespace

JsonEndpoint::JsonEndpoint(ChannelKind channel, const std::string& address, std::vector<std::string> secrets,
                           AnswerRule rule, RetryPolicy retry, const PaceLimit* pace)
    : channel_(channel), problem_(), address_(ParseWebhookAddress(address, problem_)), secrets_(std::move(secrets)),
      rule_(std::move(rule)), retry_(retry)
{
    if (address_) {
        const std::vector<std::string> own = address_->secrets();
        secrets_.insert(secrets_.end(), own.begin(), own.end());
    }
    // Longer secrets first, so that a key holding a shorter one is taken out whole.
    std::sort(secrets_.begin(), secrets_.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    if (address_ && pace)
        pacer_ = PacerFor(address, *pace);
}

DeliveryCause JsonEndpoint::who() const
{
    DeliveryCause cause;
    cause.channel = channel_;
    cause.host = address_ ? address_->host : "";
    return cause;
}

Delivery JsonEndpoint::refused(const std::string& problem) const
{
    Delivery delivery{Outcome::Failed, who(), {}, 0};
    delivery.cause.kind = FailureKind::Settings;
    delivery.cause.detail = gbk::FromUtf8(problem);
    return delivery;
}

Delivery JsonEndpoint::post(const std::function<JsonRequest()>& request, Cancellation& cancel) const
{
    if (!address_)
        return refused(problem_);
    return DeliverWithRetries([&] { return attempt(request(), cancel); }, pacer_.get(), retry_, who(), cancel);
}

Delivery JsonEndpoint::attempt(const JsonRequest& request, Cancellation& cancel) const
{
    const Reply reply = PerformExchange(ExchangeOf(*address_, request, cancel));
    if (reply.outcome.failure == HttpFailure::None)
        return answer(reply.outcome.status, reply.body, reply.outcome.retryAfter);
    Delivery delivery{Outcome::Failed, who(), {}, 0};
    delivery.cause.kind = reply.outcome.failure == HttpFailure::Cancelled ? FailureKind::Cancelled : FailureKind::Transport;
    delivery.cause.transport = reply.outcome.failure;
    delivery.cause.detail = gbk::FromUtf8(Redacted(reply.outcome.detail, secrets_));
    return delivery;
}

Delivery JsonEndpoint::answer(int status, const std::string& body, const std::string& retryAfter) const
{
    Delivery delivery{Outcome::Delivered, who(), {}, 0};
    const std::optional<FlatJson> json = ReadFlatJson(body);
    std::optional<long long> code;
    if (json && !rule_.codeMember.empty()) {
        code = IntegerMember(*json, rule_.codeMember);
        if (!code && !rule_.fallbackCodeMember.empty())
            code = IntegerMember(*json, rule_.fallbackCodeMember);
        const auto message = json->find(rule_.messageMember);
        if (message != json->end() && message->second.type == JsonScalar::Type::String)
            delivery.cause.detail = gbk::FromUtf8(Redacted(message->second.text, secrets_));
    }
    delivery.cause.status = status;
    delivery.cause.code = code;
    const bool rateLimited = status == TooManyRequests ||
        (code && std::find(rule_.rateLimitCodes.begin(), rule_.rateLimitCodes.end(), *code) != rule_.rateLimitCodes.end());
    if (rateLimited) {
        delivery.outcome = Outcome::RateLimited;
        HttpOutcome asked;
        asked.status = TooManyRequests;
        asked.retryAfter = retryAfter;
        const auto named = RetryAfterOf(asked, std::chrono::system_clock::now());
        delivery.wait = named ? std::chrono::milliseconds(*named) : retry_.unnamedWait;
        return delivery;
    }
    delivery.outcome = Outcome::Failed;
    if (status < 200 || status > 299)
        delivery.cause.kind = FailureKind::HttpStatus;
    else if (rule_.codeMember.empty() || code == 0)
        delivery.outcome = Outcome::Delivered;
    else
        delivery.cause.kind = code ? FailureKind::Refused : FailureKind::BadAnswer;
    if (delivery.outcome == Outcome::Delivered)
        delivery.cause = who();
    return delivery;
}

}  // namespace korvel::alerts
