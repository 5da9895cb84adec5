#include "web/Transfer.h"

#include <cerrno>
#include <string_view>

namespace korvel {
namespace {

// OpenSSL's verification results (X509_V_ERR_*) that name a cause a user can act on.
constexpr long CertNotYetValid = 9;
constexpr long CertExpired = 10;
constexpr long CertHostnameMismatch = 62;

int AbortWhenCancelled(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const Cancellation*>(cancel)->cancelled() ? 1 : 0;
}

void WakeTransfer(void* multi)
{
    curl_multi_wakeup(static_cast<CURLM*>(multi));
}

// Keeps the transfer wakeable by cancel() for as long as it is attached.
class Attachment {
public:
    Attachment(Cancellation* cancel, CURLM* multi) : cancel_(cancel), multi_(multi)
    {
        if (cancel_)
            cancel_->attach(WakeTransfer, multi_);
    }
    ~Attachment()
    {
        if (cancel_)
            cancel_->detach(multi_);
    }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

private:
    Cancellation* cancel_;
    CURLM* multi_;
};

CURLcode Finished(CURLM* multi)
{
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    }
    return CURLE_FAILED_INIT;
}

CertificateProblem CertificateCause(CURL* easy, std::string_view text)
{
    // libcurl checks the name itself after OpenSSL has accepted the chain, and says so.
    if (text.find("subject name") != std::string_view::npos)
        return CertificateProblem::WrongName;
    long verify = 0;
    curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verify);
    if (verify == CertExpired)
        return CertificateProblem::Expired;
    if (verify == CertNotYetValid)
        return CertificateProblem::NotYetValid;
    if (verify == CertHostnameMismatch)
        return CertificateProblem::WrongName;
    return verify != 0 ? CertificateProblem::Untrusted : CertificateProblem::Other;
}

HttpFailure TimeoutCause(CURL* easy, std::string_view text)
{
    if (text.find("too slow") != std::string_view::npos)
        return HttpFailure::IdleTimeout;
    curl_off_t connected = 0;
    curl_easy_getinfo(easy, CURLINFO_APPCONNECT_TIME_T, &connected);
    if (connected == 0)
        curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connected);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (connected == 0 && status == 0 && text.find("onnect") != std::string_view::npos)
        return HttpFailure::ConnectTimeout;
    return HttpFailure::TotalTimeout;
}

HttpFailure ConnectCause(CURL* easy)
{
    long error = 0;
    curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &error);
    if (error == ECONNREFUSED)
        return HttpFailure::ConnectionRefused;
    return error == ETIMEDOUT ? HttpFailure::ConnectTimeout : HttpFailure::ConnectFailed;
}

HttpFailure FailureOf(CURL* easy, CURLcode code, std::string_view text, const TransferNotes& notes)
{
    switch (code) {
        case CURLE_OK:
            return HttpFailure::None;
        case CURLE_ABORTED_BY_CALLBACK:
            return HttpFailure::Cancelled;
        case CURLE_URL_MALFORMAT:
            return HttpFailure::BadAddress;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return HttpFailure::UnknownHost;
        case CURLE_COULDNT_CONNECT:
            return ConnectCause(easy);
        case CURLE_OPERATION_TIMEDOUT:
            return TimeoutCause(easy, text);
        case CURLE_PEER_FAILED_VERIFICATION:
            return HttpFailure::Certificate;
        case CURLE_SSL_CONNECT_ERROR:
            return HttpFailure::TlsFailed;
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
            return HttpFailure::ConnectionReset;
        case CURLE_PARTIAL_FILE:
            return HttpFailure::IncompleteBody;
        case CURLE_GOT_NOTHING:
            return HttpFailure::NoReply;
        case CURLE_TOO_MANY_REDIRECTS:
            return HttpFailure::TooManyRedirects;
        case CURLE_SEND_FAIL_REWIND:
            return HttpFailure::NotResent;
        case CURLE_WRITE_ERROR:
            if (notes.bodyTooLarge)
                return HttpFailure::BodyTooLarge;
            return notes.redirectRefused ? HttpFailure::RedirectRefused : HttpFailure::Other;
        default:
            return HttpFailure::Other;
    }
}

}  // namespace

CURLcode RunTransfer(CURL* easy, CURLM* multi, Cancellation* cancel)
{
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, cancel ? 0L : 1L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, cancel ? AbortWhenCancelled : nullptr);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, cancel);
    if (cancel && cancel->cancelled())
        return CURLE_ABORTED_BY_CALLBACK;
    if (curl_multi_add_handle(multi, easy) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_OK;
    {
        const Attachment attached(cancel, multi);
        int running = 1;
        while (curl_multi_perform(multi, &running) == CURLM_OK && running != 0) {
            // The progress callback ends the transfer within the perform above; should libcurl not
            // have called it yet, the transfer is dropped here all the same.
            if (cancel && cancel->cancelled()) {
                result = CURLE_ABORTED_BY_CALLBACK;
                break;
            }
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
        if (result == CURLE_OK)
            result = running == 0 ? Finished(multi) : CURLE_FAILED_INIT;
    }
    curl_multi_remove_handle(multi, easy);
    return result;
}

HttpOutcome ReadOutcome(CURL* easy, CURLcode code, const char* errorText, const TransferNotes& notes)
{
    HttpOutcome outcome;
    outcome.detail = errorText != nullptr && *errorText != '\0' ? errorText : curl_easy_strerror(code);
    if (code == CURLE_OK)
        outcome.detail.clear();
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    outcome.status = static_cast<int>(status);
    outcome.failure = FailureOf(easy, code, outcome.detail, notes);
    if (outcome.failure == HttpFailure::Certificate)
        outcome.certificate = CertificateCause(easy, outcome.detail);
    return outcome;
}

}  // namespace korvel
