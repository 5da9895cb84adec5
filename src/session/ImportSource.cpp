#include "session/ImportSource.h"

#include <cstring>

#include "session/BrowserCookies.h"
#include "session/CookieStore.h"

namespace korvel {
namespace {

ImportResult FromFile(const std::string& path)
{
    StoredCookies read = ReadCookiesFile(path);
    if (!read.result.ok())
        return {{}, ImportFailure::FileUnreadable, path + ": " + std::strerror(read.result.error), 0};
    return {std::move(read.cookies), ImportFailure::None, {}, 0};
}

}  // namespace

ImportSource ParseImportSource(const std::string& text)
{
    const size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    const std::string profile = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    if (name == "firefox")
        return {Browser::Firefox, profile, {}};
    if (name == "chromium")
        return {Browser::Chromium, profile, {}};
    if (name == "chrome")
        return {Browser::Chrome, profile, {}};
    return {Browser::File, {}, text};
}

ImportResult ReadImportSource(const ImportSource& source)
{
    ImportResult result = source.browser == Browser::File      ? FromFile(source.file)
                          : source.browser == Browser::Firefox ? ReadFirefoxCookies(source.profile)
                                                               : ReadChromiumCookies(source.browser, source.profile);
    if (result.failure == ImportFailure::None && result.cookies.empty())
        result.failure = ImportFailure::NoneFound;
    return result;
}

}  // namespace korvel
