#pragma once

// A change report as the export's UTF-8 rows (export/ChangeExport.h): the store turns its own GBK
// fields into text, titles with their HTML character references decoded, so that the export needs
// nothing of the store.

#include <vector>

#include "export/ChangeExport.h"
#include "store/HistoryReading.h"

namespace korvel {

std::vector<ChangeRow> ChangeRows(const ChangeReport& report);

}  // namespace korvel
