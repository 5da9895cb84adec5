#include "ConsoleExports.h"

#include <cerrno>
#include <memory>
#include <vector>

#include "export/CsvExport.h"
#include "export/Exports.h"
#include "export/FileWriting.h"
#include "export/ProductColumns.h"
#include "export/ProductsWorkbook.h"
#include "text/Gbk.h"
#include "text/Text.h"
#include "words/ExportTexts.h"

namespace korvel::console {

namespace {

struct PlannedExport {
    std::string path;  // "-" for standard output
    std::string bytes;
    const char* donePrefix;  // the window's message, or none for the CSV and the workbook
    FileFiller workbook;     // writes the file in place of the bytes
};

std::vector<PlannedExport> Plan(const CollectCommand& command, const CollectionRun& run)
{
    std::vector<PlannedExport> plan;
    if (command.idsFile)
        plan.push_back({*command.idsFile, ProductIdsText(ProductIds(run.products)), export_words::IdsDone, {}});
    if (command.allFile)
        plan.push_back({*command.allFile, AllInformationText(run.products), export_words::AllDone, {}});
    if (command.csvFile)
        plan.push_back({*command.csvFile, ProductsCsv(run.products), nullptr, {}});
    if (command.xlsxFile) {
        const auto workbook = [&run](const std::string& path) {
            return WriteProductsWorkbook(path, run.products);
        };
        plan.push_back({*command.xlsxFile, {}, nullptr, workbook});
    }
    return plan;
}

}  // namespace

void ReportUnwritable(Terminal& terminal, const std::string& path, WriteRefusal refusal)
{
    terminal.line(gbk::FromUtf8(export_words::WriteFailedTitle) + ": " +
                  export_words::CannotWriteWithCause(path, refusal));
}

bool CheckExportPaths(const CollectCommand& command, Terminal& terminal)
{
    for (const auto* file : {&command.idsFile, &command.allFile, &command.csvFile, &command.xlsxFile}) {
        if (!*file)
            continue;
        if (const WriteRefusal refusal = CheckWritable(**file); refusal != WriteRefusal::None) {
            ReportUnwritable(terminal, **file, refusal);
            return false;
        }
    }
    return true;
}

ExportsResult WriteExports(const CollectCommand& command, const CollectionRun& run, Terminal& terminal,
                           const InterruptWatch& interrupt)
{
    const std::vector<PlannedExport> plan = Plan(command, run);
    std::vector<std::unique_ptr<StagedFile>> staged(plan.size());
    for (size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].path == "-")
            continue;
        staged[i] = plan[i].workbook ? std::make_unique<StagedFile>(plan[i].path, plan[i].workbook)
                                     : std::make_unique<StagedFile>(plan[i].path, plan[i].bytes);
        if (!staged[i]->write()) {
            ReportUnwritable(terminal, plan[i].path, WhyNotWritten(plan[i].path, errno));
            return ExportsResult::Failed;
        }
    }
    // From here on the exports land, whatever comes: a Ctrl+C now would leave some of them only.
    if (interrupt.interrupted())
        return ExportsResult::Interrupted;
    // What cannot be written aside goes first, so that its failure leaves the files untouched.
    for (const bool renamed : {false, true}) {
        for (size_t i = 0; i < plan.size(); ++i) {
            if ((staged[i] && !staged[i]->inPlace()) != renamed)
                continue;
            const bool landed = staged[i] ? staged[i]->commit() : WriteToStandardOutput(plan[i].bytes);
            if (!landed) {
                const int error = errno;
                ReportUnwritable(terminal, plan[i].path,
                                 staged[i] ? WhyNotWritten(plan[i].path, error) : CheckWritable(plan[i].path));
                return ExportsResult::Failed;
            }
        }
    }
    for (const PlannedExport& done : plan) {
        if (done.donePrefix)
            terminal.line(gbk::FromUtf8(export_words::DoneTitle) + ": " +
                          export_words::Done(done.donePrefix, static_cast<int>(run.products.size())));
    }
    return ExportsResult::Written;
}

}  // namespace korvel::console
