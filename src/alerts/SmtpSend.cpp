#include "alerts/SmtpSend.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "alerts/Redact.h"
#include "text/Gbk.h"
#include "web/CaBundle.h"
#include "web/HttpSettings.h"
#include "web/Transfer.h"

namespace korvel::alerts {
namespace {

using Easy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using Multi = std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)>;
using List = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

struct Upload {
    const std::string* bytes;
    std::size_t sent = 0;
};

size_t ReadUpload(char* buffer, size_t size, size_t count, void* context)
{
    Upload& upload = *static_cast<Upload*>(context);
    const size_t length = std::min(size * count, upload.bytes->size() - upload.sent);
    std::memcpy(buffer, upload.bytes->data() + upload.sent, length);
    upload.sent += length;
    return length;
}

List Recipients(const std::vector<std::string>& to)
{
    List list(nullptr, curl_slist_free_all);
    for (const std::string& address : to) {
        curl_slist* grown = curl_slist_append(list.get(), ("<" + address + ">").c_str());
        if (grown == nullptr)
            break;
        list.release();
        list.reset(grown);
    }
    return list;
}

List Routes(const std::string& connectTo)
{
    List list(nullptr, curl_slist_free_all);
    std::size_t start = 0;
    while (start < connectTo.size()) {
        const std::size_t comma = std::min(connectTo.find(',', start), connectTo.size());
        if (comma > start) {
            curl_slist* grown = curl_slist_append(list.get(), connectTo.substr(start, comma - start).c_str());
            if (grown == nullptr)
                break;
            list.release();
            list.reset(grown);
        }
        start = comma + 1;
    }
    return list;
}

void SetLimits(CURL* easy, const HttpSettings& settings)
{
    const long idle = std::max(1L, static_cast<long>(settings.idleTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, static_cast<long>(settings.connectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, idle);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, std::max(1L, (settings.idleMinimumBytes + idle - 1) / idle));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, static_cast<long>(settings.totalTimeout.count()));
}

long Encryption(MailSecurity security)
{
    // On this computer a relay without STARTTLS is taken as it is; anywhere else the message
    // waits for encryption or is not sent.
    return security == MailSecurity::Loopback ? static_cast<long>(CURLUSESSL_TRY) : static_cast<long>(CURLUSESSL_ALL);
}

Delivery Ended(CURL* easy, CURLcode code, const char* errorText, const DeliveryCause& who,
               const std::vector<std::string>& secrets)
{
    const HttpOutcome outcome = ReadOutcome(easy, code, errorText, TransferNotes{});
    Delivery delivery{code == CURLE_OK ? Outcome::Delivered : Outcome::Failed, who, {}, 1};
    if (code == CURLE_OK)
        return delivery;
    DeliveryCause& cause = delivery.cause;
    cause.status = outcome.status;
    cause.transport = outcome.failure;
    cause.detail = gbk::FromUtf8(Redacted(outcome.detail, secrets));
    if (code == CURLE_LOGIN_DENIED)
        cause.kind = FailureKind::LoginDenied;
    else if (code == CURLE_USE_SSL_FAILED)
        cause.kind = FailureKind::NoEncryption;
    else if (outcome.failure == HttpFailure::Cancelled)
        cause.kind = FailureKind::Cancelled;
    else if (outcome.status >= 400)
        cause.kind = FailureKind::MailRefused;
    else
        cause.kind = FailureKind::Transport;
    return delivery;
}

}  // namespace

Delivery SendMail(const SmtpServer& server, const MailLogin& login, const MailEnvelope& envelope,
                  const std::string& mail, const DeliveryCause& who, Cancellation& cancel)
{
    const HttpSettings settings = CurrentHttpSettings();
    Easy easy(curl_easy_init(), curl_easy_cleanup);
    Multi multi(curl_multi_init(), curl_multi_cleanup);
    if (!easy || !multi) {
        Delivery failed{Outcome::Failed, who, {}, 0};
        failed.cause.kind = FailureKind::Transport;
        failed.cause.transport = HttpFailure::Other;
        return failed;
    }
    CURL* h = easy.get();
    char errorText[CURL_ERROR_SIZE] = "";
    const std::string caFile = CaBundlePath(settings.extraCaFile);
    const std::string sender = "<" + envelope.from + ">";
    const List recipients = Recipients(envelope.to);
    const List routes = Routes(settings.connectTo);
    Upload upload{&mail};

    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(h, CURLOPT_URL, server.url.c_str());
    curl_easy_setopt(h, CURLOPT_USE_SSL, Encryption(server.security));
    curl_easy_setopt(h, CURLOPT_CAINFO, caFile.c_str());
    curl_easy_setopt(h, CURLOPT_CAPATH, static_cast<const char*>(nullptr));
    curl_easy_setopt(h, CURLOPT_CONNECT_TO, routes.get());
    // No proxy from the environment: a mail is not meant to go through one.
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    SetLimits(h, settings);
    if (!login.user.empty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, login.user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, login.password.c_str());
    }
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, sender.c_str());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadUpload);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(mail.size()));

    const CURLcode code = RunTransfer(h, multi.get(), &cancel);
    return Ended(h, code, errorText, who, {login.password});
}

}  // namespace korvel::alerts
