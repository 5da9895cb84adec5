#include "web/OnceBody.h"

#include <algorithm>

namespace korvel {

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
    const auto* body = static_cast<OnceBody*>(user);
    return body->started || offset != 0 ? CURL_SEEKFUNC_FAIL : CURL_SEEKFUNC_OK;
}

}  // namespace korvel
