#pragma once

// What the window says about the kept marketplace session and its import.

#include <QString>

#include "session/ImportIntoStore.h"

namespace korvel {

// "已导入 N 个…", or why nothing was imported.
QString ImportOutcomeText(const StoreImport& done, const ImportSource& source);

// Why the store could not be read, written or removed.
QString StoreProblemText(const SessionFileResult& result);

}  // namespace korvel
