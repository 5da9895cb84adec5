#include "session/Keyring.h"

#ifdef KORVEL_HAVE_LIBSECRET
#include <libsecret/secret.h>
#endif

namespace korvel {

#ifdef KORVEL_HAVE_LIBSECRET

namespace {

// Chromium's own schema; the attribute names the browser that stored the password.
const SecretSchema* ChromiumSchema()
{
    static const SecretSchema schema = {"chrome_libsecret_os_crypt_password_v2",
                                        SECRET_SCHEMA_DONT_MATCH_NAME,
                                        {{"application", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, {}}},
                                        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &schema;
}

}  // namespace

KeyringPassword ChromiumKeyringPassword(Browser browser)
{
    GError* error = nullptr;
    const char* application = browser == Browser::Chrome ? "chrome" : "chromium";
    gchar* password = secret_password_lookup_sync(ChromiumSchema(), nullptr, &error, "application", application,
                                                  static_cast<const char*>(nullptr));
    KeyringPassword found;
    if (password != nullptr) {
        found.password = password;
        secret_password_free(password);
    } else if (error != nullptr) {
        found.reason = error->message;
    } else {
        found.reason = "the keyring holds no password for it, or is locked";
    }
    if (error != nullptr)
        g_error_free(error);
    return found;
}

#else

KeyringPassword ChromiumKeyringPassword(Browser)
{
    return {std::nullopt, "this build of Korvel has no Secret Service support (libsecret)"};
}

#endif

}  // namespace korvel
