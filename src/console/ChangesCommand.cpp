#include <cstdio>

#include "ExportTargets.h"
#include "HistoryCommands.h"
#include "HistoryStore.h"
#include "Terminal.h"
#include "export/ChangeExport.h"
#include "export/ChangesWorkbook.h"
#include "export/FileWriting.h"
#include "store/ChangeRows.h"
#include "store/StorePath.h"
#include "text/Gbk.h"

namespace korvel::console {
namespace {

constexpr int Reported = 0;
constexpr int Unreadable = 1;

// 第 N 页未能取得（cause），该页上的商品不算作已下架
std::string LostPageLine(const LostPage& page)
{
    return gbk::FromUtf8("第 " + std::to_string(page.page) + " 页未能取得（") + page.cause +
           gbk::FromUtf8("），该页上的商品不算作已下架");
}

void SayNothingToCompare(const ChangeReport& report, const std::string& shop)
{
    if (report.nothing == NothingToCompare::NoRun)
        std::fprintf(stderr, "korvel-collect: nothing to compare yet: %s has no recorded run with products\n",
                     shop.c_str());
    else
        std::fprintf(stderr, "korvel-collect: nothing to compare yet: %s has no complete run before run %lld\n",
                     shop.c_str(), static_cast<long long>(report.after.number));
}

std::string Shown(const std::optional<std::string>& text)
{
    return text ? *text : "-";
}

// One line per change, columns padded for reading; the terminal's encoding.
void PrintTable(const ChangeReport& report, const std::vector<ChangeRow>& rows)
{
    Terminal out(stdout);
    out.line(report.after.shopHost + ": run " + std::to_string(report.before.number) + " -> run " +
             std::to_string(report.after.number));
    for (const ChangeRow& row : rows) {
        char kind[16];
        std::snprintf(kind, sizeof kind, "%-13s", row.kind.c_str());
        std::string line = kind + row.id + "  " + Shown(row.before) + " -> " + Shown(row.after);
        if (row.delta)
            line += "  " + *row.delta + (row.percent ? " (" + *row.percent + "%)" : "");
        out.line(gbk::FromUtf8(line + "  " + row.title));
    }
}

bool Said(bool written, const std::string& path)
{
    if (!written)
        std::fprintf(stderr, "korvel-collect: cannot write %s\n", path == "-" ? "to standard output" : path.c_str());
    return written;
}

bool WriteTo(const std::string& path, const std::string& bytes)
{
    return Said(path == "-" ? WriteToStandardOutput(bytes) : WriteWholeFile(path, bytes), path);
}

bool WriteWorkbook(const std::string& path, const std::vector<ChangeRow>& rows)
{
    const auto workbook = [&rows](const std::string& file) { return WriteChangesWorkbook(file, rows); };
    return Said(WriteWholeFile(path, workbook), path);
}

int Output(const CollectCommand& command, const ChangeReport& report)
{
    const std::vector<ChangeRow> rows = ChangeRows(report);
    if (!command.jsonlFile && !command.csvFile && !command.xlsxFile) {
        if (report.nothing == NothingToCompare::None)
            PrintTable(report, rows);
        return Reported;
    }
    bool written = true;
    if (command.jsonlFile)
        written = WriteTo(*command.jsonlFile, ChangesJsonLines(rows)) && written;
    if (command.csvFile)
        written = WriteTo(*command.csvFile, ChangesCsv(rows)) && written;
    if (command.xlsxFile)
        written = WriteWorkbook(*command.xlsxFile, rows) && written;
    return written ? Reported : Unreadable;
}

}  // namespace

std::string StorePathOf(const CollectCommand& command)
{
    return command.storeFile ? *command.storeFile : DefaultStorePath();
}

int ReportChanges(const CollectCommand& command)
{
    Terminal errors(stderr);
    auto history = OpenHistory(command);
    auto report = history.ok() ? history.value()->changes(command.shop) : history.error();
    if (!report.ok()) {
        errors.line("korvel-collect: " + report.error().cause);
        return Unreadable;
    }
    if (report.value().after.end == RunEnd::Incomplete) {
        for (const LostPage& page : report.value().after.lostPages)
            errors.line(LostPageLine(page));
    }
    if (report.value().nothing != NothingToCompare::None)
        SayNothingToCompare(report.value(), command.shop);
    return Output(command, report.value());
}

}  // namespace korvel::console
