#include "session/ImportIntoStore.h"

namespace korvel {

StoreImport ImportIntoStore(const ImportSource& source, const std::string& path)
{
    StoreImport done{ReadImportSource(source), {}};
    if (done.read.failure != ImportFailure::None)
        return done;
    StoredCookies kept = LoadStore(path);
    if (!kept.result.ok()) {
        done.saved = kept.result;
        return done;
    }
    AddCookies(kept.cookies, done.read.cookies);
    done.saved = SaveStore(path, kept.cookies);
    return done;
}

}  // namespace korvel
