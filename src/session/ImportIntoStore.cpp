#include "session/ImportIntoStore.h"

namespace korvel {

StoreImport ImportIntoStore(const ImportSource& source, const std::string& path)
{
    StoreImport done{ReadImportSource(source), {}};
    if (done.read.failure != ImportFailure::None)
        return done;
    done.saved = AddToStore(path, done.read.cookies);
    return done;
}

}  // namespace korvel
