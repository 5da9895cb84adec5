#include "web/OnceBody.h"

#include <algorithm>

namespace korvel {

namespace {

// libcurl rewinds before following a 307 or 308 (the body goes along) and before resending on a
// dropped connection; only the first comes after a new redirect was counted with such a status.
bool RedirectWantsTheBody(OnceBody& body)
{
    long status = 0;
    long redirects = 0;
    curl_easy_getinfo(body.handle, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(body.handle, CURLINFO_REDIRECT_COUNT, &redirects);
    if ((status != 307 && status != 308) || redirects <= body.redirectsRewound) {
        return false;
    }
    body.redirectsRewound = redirects;
    return true;
}

}  // namespace

size_t ReadOnce(char* buffer, size_t size, size_t count, void* user)
{
    auto* body = static_cast<OnceBody*>(user);
    const size_t n = std::min(size * count, body->bytes.size() - body->sent);
    std::copy_n(body->bytes.data() + body->sent, n, buffer);
    body->sent += n;
    body->started = true;
    return n;
}

int RewindOnce(void* user, curl_off_t offset, int)
{
    auto* body = static_cast<OnceBody*>(user);
    if (offset != 0) {
        return CURL_SEEKFUNC_FAIL;
    }
    if (body->started && (body->handle == nullptr || !RedirectWantsTheBody(*body))) {
        return CURL_SEEKFUNC_FAIL;
    }
    body->sent = 0;
    return CURL_SEEKFUNC_OK;
}

}  // namespace korvel
