#include "collect/FailureCause.h"

#include "collect/CauseTexts.h"
#include "text/Text.h"
#include "web/HttpSettings.h"

namespace korvel {
namespace {

using namespace cause_text;

std::string Seconds(std::chrono::seconds limit)
{
    return IntToText(static_cast<int>(limit.count()));
}

std::string CertificateText(CertificateProblem problem)
{
    switch (problem) {
        case CertificateProblem::Expired:
            return CertificateExpired;
        case CertificateProblem::NotYetValid:
            return CertificateNotYetValid;
        case CertificateProblem::WrongName:
            return CertificateWrongName;
        case CertificateProblem::Untrusted:
            return CertificateUntrusted;
        default:
            return CertificateInvalid;
    }
}

std::string TimeoutText(HttpFailure failure, const HttpSettings& limits)
{
    if (failure == HttpFailure::ConnectTimeout)
        return ConnectTimeoutPrefix + Seconds(limits.connectTimeout) + ConnectTimeoutSuffix;
    if (failure == HttpFailure::IdleTimeout)
        return IdleTimeoutPrefix + Seconds(limits.idleTimeout) + IdleTimeoutSuffix;
    return TotalTimeoutPrefix + Seconds(limits.totalTimeout) + TotalTimeoutSuffix;
}

std::string TransportText(const HttpOutcome& outcome, const HttpSettings& limits)
{
    switch (outcome.failure) {
        case HttpFailure::BadAddress:
            return BadAddress;
        case HttpFailure::UnknownHost:
            return UnknownHost;
        case HttpFailure::ConnectionRefused:
            return ConnectionRefused;
        case HttpFailure::ConnectFailed:
            return ConnectFailed;
        case HttpFailure::ConnectTimeout:
        case HttpFailure::IdleTimeout:
        case HttpFailure::TotalTimeout:
            return TimeoutText(outcome.failure, limits);
        case HttpFailure::Certificate:
            return CertificatePrefix + CertificateText(outcome.certificate);
        case HttpFailure::TlsFailed:
            return TlsFailed;
        case HttpFailure::ConnectionReset:
            return ConnectionReset;
        case HttpFailure::IncompleteBody:
            return IncompleteBody;
        case HttpFailure::NoReply:
            return NoReply;
        case HttpFailure::TooManyRedirects:
            return TooManyRedirects;
        case HttpFailure::BodyTooLarge:
            return BodyTooLargePrefix + IntToText(static_cast<int>(limits.maxBodyBytes >> 20)) + BodyTooLargeSuffix;
        case HttpFailure::RedirectRefused:
            return Verification;
        case HttpFailure::NotResent:
            return NotResent;
        default:
            return OtherPrefix + outcome.detail;
    }
}

}  // namespace

std::string CauseText(const FetchedPage& page)
{
    const HttpOutcome& outcome = page.outcome;
    // With a session the marketplace should not have asked: the session is no longer signed in.
    const bool signInCheck = outcome.failure == HttpFailure::RedirectRefused ||
                             (outcome.failure == HttpFailure::None && IsVerificationPage(page.text));
    if (page.withSession && signInCheck)
        return SessionExpired;
    if (outcome.failure != HttpFailure::None)
        return TransportText(outcome, CurrentHttpSettings());
    if (IsVerificationPage(page.text))
        return Verification;
    if (outcome.status >= 400)
        return HttpStatusPrefix + IntToText(outcome.status);
    return page.text.empty() ? std::string(EmptyPage) : std::string();
}

}  // namespace korvel

namespace korvel {

std::string NoPagingCause(const FetchedPage& page)
{
    return cause_text::NoPagingPrefix + IntToText(page.outcome.status) + cause_text::NoPagingMiddle +
           IntToText(static_cast<int>(page.text.size())) + cause_text::NoPagingSuffix;
}

std::string CauseWithRetries(const FetchedPage& page)
{
    std::string cause = CauseText(page);
    if (!cause.empty() && page.retries > 0)
        cause += cause_text::RetriedPrefix + IntToText(page.retries) + cause_text::RetriedSuffix;
    return cause;
}

}  // namespace korvel
