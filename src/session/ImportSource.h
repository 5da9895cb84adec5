#pragma once

// Where a session is brought from, and what came of it. The views turn the failure into words.

#include <string>
#include <vector>

#include "session/Cookie.h"

namespace korvel {

enum class Browser { File, Firefox, Chromium, Chrome };

struct ImportSource {
    Browser browser = Browser::File;
    std::string profile;  // a folder, or a profile's name; empty = the default profile
    std::string file;     // Browser::File: the cookies.txt file
};

// "firefox", "firefox:PROFILE", "chromium[:PROFILE]", "chrome[:PROFILE]"; anything else is a file.
ImportSource ParseImportSource(const std::string& text);

enum class ImportFailure {
    None,
    ProfileNotFound,   // detail: where it was looked for
    NoDatabase,        // the profile holds no cookie database; detail: the folder
    DatabaseUnusable,  // detail: the database's own error
    FileUnreadable,    // detail: the file and why
    Keyring,           // values sealed with the desktop keyring's key, which cannot be had
    CannotDecrypt,     // values that do not open with any key the browser uses on Linux
    NoneFound,         // read, but no marketplace cookie in it
};

struct [[nodiscard]] ImportResult {
    std::vector<Cookie> cookies;  // the marketplace's unexpired cookies
    ImportFailure failure = ImportFailure::None;
    std::string detail;
    int undecrypted = 0;  // marketplace cookies whose values could not be opened
};

// Reads the source; a result with cookies has no failure.
ImportResult ReadImportSource(const ImportSource& source);

}  // namespace korvel
