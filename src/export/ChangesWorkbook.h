#pragma once

// A shop's changes as an Excel workbook: one sheet, 变化, with the change CSV's columns
// (ChangeColumns) and one row per change. Prices and counts before and after, the delta and the run
// numbers are numbers where they read as clean ones; the percent is the fraction, shown as a
// percentage (-12.50%). The title row stays in view and carries the filter buttons.

#include <string>
#include <vector>

#include "export/ChangeExport.h"

namespace korvel {

// Writes the workbook at `path` itself (FileWriting.h stages it beside a target); false, with
// errno set, when it was not written whole.
[[nodiscard]] bool WriteChangesWorkbook(const std::string& path, const std::vector<ChangeRow>& rows);

}  // namespace korvel
