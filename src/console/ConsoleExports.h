#pragma once

// The exports of one korvel-collect run, written from the run's record. They land together or not
// at all: each is written beside its target first, and only once all are written (and no Ctrl+C
// came meanwhile) are they renamed into place; an export to standard output follows them.

#include <string>

#include "Arguments.h"
#include "Interrupt.h"
#include "Terminal.h"
#include "collect/CollectionRun.h"
#include "ExportTargets.h"

namespace korvel::console {

enum class ExportsResult { Written, Failed, Interrupted };

// "导出失败: 文件无法写入：PATH" with the cause on the next line, as the window's box reads.
void ReportUnwritable(Terminal& terminal, const std::string& path, WriteRefusal refusal);

// The first export path of the command that cannot be written, reported; false when there is one.
[[nodiscard]] bool CheckExportPaths(const CollectCommand& command, Terminal& terminal);

ExportsResult WriteExports(const CollectCommand& command, const CollectionRun& run, Terminal& terminal,
                           const InterruptWatch& interrupt);

}  // namespace korvel::console
