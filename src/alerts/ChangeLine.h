#pragma once

// One change as one line of an alert, and the caption of its kind.

#include <string>
#include <string_view>

#include "alerts/AlertMessage.h"
#include "export/ChangeExport.h"

namespace korvel::alerts {

// "价格", "新上架", …; the kind name itself for a kind this version does not know.
std::string KindCaption(std::string_view kind);

// "- 标题…（ID 123）：128.00 → 99.00（-22.66%）" in markdown, "· …" in plain text: the title cut,
// every text from the shop made inert.
std::string ChangeLine(const ChangeRow& row, Rendering rendering);

}  // namespace korvel::alerts
