#include "collect/PageFetch.h"

#include <random>

#include "text/Gbk.h"
#include "text/Text.h"
#include "web/HttpCall.h"
#include "web/UrlHelpers.h"

namespace korvel {
namespace {

std::chrono::milliseconds PauseBefore(int retry, const FetchPolicy& policy)
{
    if (policy.retryPauses.empty())
        return {};
    const size_t at = std::min(static_cast<size_t>(retry), policy.retryPauses.size() - 1);
    const auto pause = policy.retryPauses[at];
    thread_local std::minstd_rand jitter(std::random_device{}());
    const auto spread = pause.count() / 10;
    if (spread == 0)
        return pause;
    return pause + std::chrono::milliseconds(static_cast<long>(jitter() % (2 * spread + 1)) - spread);
}

FetchedPage TryOnce(const PageRequest& request, const FetchPolicy& policy, Cancellation& cancel)
{
    FetchedPage page;
    page.withSession = policy.session != nullptr;
    if (policy.gate && !policy.gate->before(cancel)) {
        page.outcome.failure = HttpFailure::Cancelled;
        return page;
    }
    const auto notToSignIn = [](std::string_view location) { return !IsLoginAddress(location); };
    const HttpReply reply = Send({.url = request.url,
                                  .method = request.method,
                                  .body = request.body,
                                  .session = policy.session,
                                  .cancel = &cancel,
                                  .followAllowed = notToSignIn});
    page.outcome = reply.outcome;
    page.text = BytesToText(reply.body);
    if (policy.gate)
        policy.gate->after(page.outcome);
    return page;
}

bool EndsWith(std::string_view host, std::string_view domain)
{
    return host == domain || (host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.');
}

}  // namespace

bool IsPassingFailure(const HttpOutcome& outcome)
{
    switch (outcome.failure) {
        case HttpFailure::None:
            return outcome.status == 429 || (outcome.status >= 500 && outcome.status <= 599);
        case HttpFailure::ConnectionRefused:
        case HttpFailure::ConnectFailed:
        case HttpFailure::ConnectTimeout:
        case HttpFailure::IdleTimeout:
        case HttpFailure::TotalTimeout:
        case HttpFailure::TlsFailed:
        case HttpFailure::ConnectionReset:
        case HttpFailure::IncompleteBody:
        case HttpFailure::NoReply:
        case HttpFailure::Other:
            return true;
        default:
            return false;
    }
}

FetchedPage FetchPage(const PageRequest& request, const FetchPolicy& policy, Cancellation& cancel)
{
    FetchedPage page = TryOnce(request, policy, cancel);
    for (int retry = 0; retry < policy.retries && IsPassingFailure(page.outcome); ++retry) {
        if (!cancel.sleepFor(PauseBefore(retry, policy)))
            break;
        const int made = retry + 1;
        page = TryOnce(request, policy, cancel);
        page.retries = made;
    }
    return page;
}

bool IsLoginAddress(std::string_view location)
{
    const std::string host = UrlHost(std::string(location));
    const bool marketplace = EndsWith(host, "taobao.com") || EndsWith(host, "tmall.com");
    const bool checkHost = host.starts_with("login.") || host.starts_with("sec.") || host.starts_with("passport.");
    const std::string lower = ToLowerAscii(location);
    const bool checkPath = lower.find("/_____tmd_____/") != std::string::npos ||
                           lower.find("punish") != std::string::npos || lower.find("x5secdata") != std::string::npos;
    return marketplace && (checkHost || checkPath);
}

bool IsVerificationPage(std::string_view text)
{
    // Slider and login checks. Result pages link to the login page too, so its address is no
    // marker; its form, the checks' own scripts and their instructions are. Plain words such as
    // 滑块 name products too.
    static const std::string markers[] = {
        "nc_1_n1z",     "nc-container", "nocaptcha", "_____tmd_____", "x5sec", "baxia-dialog", "sufei-punish",
        "punish?",      "TPL_username", "J_LoginBox", gbk::FromUtf8("拖动下方滑块"), gbk::FromUtf8("按住滑块"),
    };
    for (const std::string& marker : markers) {
        if (text.find(marker) != std::string_view::npos)
            return true;
    }
    return false;
}

}  // namespace korvel
