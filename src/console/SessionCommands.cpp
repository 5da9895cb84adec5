#include "SessionCommands.h"

#include <cstdio>
#include <cstring>

#include <algorithm>

#include "collect/CauseTexts.h"
#include "session/ImportIntoStore.h"

namespace korvel::console {
namespace {

std::string StoreProblem(const SessionFileResult& result)
{
    if (result.failure == SessionFileFailure::NoHome)
        return "neither XDG_DATA_HOME nor HOME is set, so there is no place for the session";
    const char* what = result.failure == SessionFileFailure::CannotRead           ? "cannot read "
                       : result.failure == SessionFileFailure::CannotCreateFolder ? "cannot create the folder "
                                                                            : "cannot write ";
    return what + result.path + ": " + (result.detail.empty() ? std::strerror(result.error) : result.detail);
}

const char* BrowserName(const ImportSource& source)
{
    return source.browser == Browser::Firefox ? "Firefox" : source.browser == Browser::Chrome ? "Chrome" : "Chromium";
}

std::string ImportProblem(const ImportResult& r, const ImportSource& source)
{
    const std::string count = std::to_string(r.undecrypted);
    switch (r.failure) {
        case ImportFailure::ProfileNotFound:
            return std::string("no ") + BrowserName(source) + " profile at " + r.detail;
        case ImportFailure::NoDatabase:
            return "the profile " + r.detail + " holds no cookie database";
        case ImportFailure::DatabaseUnusable:
            return "the cookie database cannot be read: " + r.detail;
        case ImportFailure::FileUnreadable:
            return "cannot read " + r.detail;
        case ImportFailure::Keyring:
            return "cannot decrypt " + count + " cookie values: " + BrowserName(source) +
                   " sealed them with the password it keeps in the desktop keyring (Secret Service), which "
                   "cannot be had (" + r.detail + "). Unlock the keyring in a desktop session and try again, or "
                   "start the browser with --password-store=basic, sign in again and import then";
        case ImportFailure::CannotDecrypt:
            return "cannot decrypt " + count + " cookie values with any key " + BrowserName(source) +
                   " uses on Linux (the keyring's password may have changed); start the browser with "
                   "--password-store=basic, sign in again and import then";
        default:
            return "no unexpired cookie of taobao.com or tmall.com found";
    }
}

}  // namespace

RunSession OpenRunSession(const CollectCommand& command)
{
    RunSession run;
    if (command.cookiesFile) {
        StoredCookies read = ReadCookiesFile(*command.cookiesFile);
        if (!read.result.ok() || read.cookies.empty()) {
            const std::string problem = read.result.ok() ? *command.cookiesFile + " holds no unexpired cookie of "
                                                                                  "taobao.com or tmall.com"
                                                         : StoreProblem(read.result);
            std::fprintf(stderr, "korvel-collect: --cookies: %s\n", problem.c_str());
            run.usable = false;
            return run;
        }
        run.session = std::make_unique<KeptSession>(std::move(read.cookies), std::string());
        return run;
    }
    const std::string path = DefaultSessionPath();
    StoredCookies kept = LoadStore(path);
    if (!kept.result.ok() && kept.result.failure != SessionFileFailure::NoHome)
        std::fprintf(stderr, "korvel-collect: collecting without the kept session: %s\n",
                     StoreProblem(kept.result).c_str());
    if (!kept.tightened.empty())
        std::fprintf(stderr, "korvel-collect: the kept session %s\n", kept.tightened.c_str());
    if (!kept.cookies.empty())
        run.session = std::make_unique<KeptSession>(std::move(kept.cookies), path, std::move(kept.session));
    return run;
}

void ReportSessionSave(const RunSession& run)
{
    if (!run.session)
        return;
    if (const auto failure = run.session->saveFailure())
        std::fprintf(stderr, "korvel-collect: the session's new cookies were not kept: %s\n",
                     StoreProblem(*failure).c_str());
}

bool SignInExpired(const RunSession& session, const CollectionRun& run)
{
    return session.session && std::any_of(run.lostPages.begin(), run.lostPages.end(), [](const LostPage& lost) {
               return lost.cause.find(cause_text::SessionExpired) != std::string::npos;
           });
}

int ImportCookies(const std::string& text)
{
    const ImportSource source = ParseImportSource(text);
    const std::string path = DefaultSessionPath();
    const StoreImport done = ImportIntoStore(source, path);
    if (done.read.failure != ImportFailure::None) {
        std::fprintf(stderr, "korvel-collect: nothing imported from %s: %s\n", text.c_str(),
                     ImportProblem(done.read, source).c_str());
        return 1;
    }
    if (!done.saved.ok()) {
        std::fprintf(stderr, "korvel-collect: nothing imported: %s\n", StoreProblem(done.saved).c_str());
        return 1;
    }
    std::fprintf(stderr, "korvel-collect: %zu cookies of taobao.com and tmall.com imported into %s\n",
                 done.read.cookies.size(), path.c_str());
    return 0;
}

}  // namespace korvel::console
