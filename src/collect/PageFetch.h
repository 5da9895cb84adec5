#pragma once

// One shop page over the network as a collection wants it: the request is repeated after a
// passing failure, the pauses between tries end early when the run is cancelled, and whatever the
// last try ended with is kept, so that a lost page can be named with its cause.

#include <chrono>
#include <string>
#include <vector>

#include "base/Cancellation.h"
#include "web/CookieSession.h"
#include "web/HttpOutcome.h"

namespace korvel {

struct PageRequest {
    std::string url;
    int method = 0;  // as HttpCall takes it
    std::string body;
};

// Lets a whole batch pace its requests: asked before every request (retries included), told of
// each one's end. From the run's thread.
class RequestGate {
public:
    virtual ~RequestGate() = default;
    // False when cancelled while waiting: the request is then not made.
    [[nodiscard]] virtual bool before(Cancellation& cancel) = 0;
    virtual void after(const HttpOutcome& outcome) = 0;
};

struct FetchPolicy {
    int retries = 2;  // further tries of a page after a passing failure
    // The pause before retry k (from 0); the last entry serves any later retry. Each pause varies
    // by up to a tenth either way, so that several collectors do not retry in step.
    std::vector<std::chrono::milliseconds> retryPauses{std::chrono::milliseconds(1000),
                                                       std::chrono::milliseconds(3000)};
    std::chrono::milliseconds pageDelay{0};  // pause before every page request after the first
    RequestGate* gate = nullptr;             // none: requests go out as the pauses above allow
    // The kept marketplace session the requests carry; none: the client's own cookie store.
    CookieSession* session = nullptr;
};

struct [[nodiscard]] FetchedPage {
    std::string text;  // the body up to its first zero byte, as the GBK it arrived in
    HttpOutcome outcome;
    int retries = 0;  // retries made
    bool withSession = false;  // the request carried a kept session
    // The page did not arrive whole, or arrived as an HTTP error.
    bool failed() const { return outcome.failure != HttpFailure::None || outcome.status >= 400; }
};

// A failure worth another try: the network or the server may well do better a moment later.
bool IsPassingFailure(const HttpOutcome& outcome);

// The request, retried as the policy says. A redirect to the marketplace's login or security
// check is not followed (the page then failed with HttpFailure::RedirectRefused).
FetchedPage FetchPage(const PageRequest& request, const FetchPolicy& policy, Cancellation& cancel);

// A login or security-check address of the marketplaces: where they send a collector they want to
// slow down.
bool IsLoginAddress(std::string_view location);

// A page that asks for a login or a slider check instead of showing results.
bool IsVerificationPage(std::string_view text);

}  // namespace korvel
