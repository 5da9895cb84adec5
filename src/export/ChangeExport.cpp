#include "export/ChangeExport.h"

#include "export/CsvRecords.h"
#include "text/JsonString.h"

namespace korvel {
namespace {

void AppendJsonValue(std::string& out, const std::optional<std::string>& value, bool number)
{
    if (!value)
        out += "null";
    else if (number)
        out += *value;
    else
        AppendJsonString(out, *value);
}

}  // namespace

std::string ChangesJsonLines(const std::vector<ChangeRow>& rows)
{
    std::string out;
    for (const ChangeRow& row : rows) {
        const std::optional<std::string> texts[] = {row.shop, row.id, row.kind, row.before, row.after};
        out += '{';
        for (size_t i = 0; i < std::size(texts); ++i) {
            AppendJsonString(out += (i > 0 ? "," : ""), ChangeColumns[i]);
            AppendJsonValue(out += ':', texts[i], false);
        }
        AppendJsonValue(out += ",\"delta\":", row.delta, true);
        AppendJsonValue(out += ",\"percent\":", row.percent, true);
        AppendJsonString(out += ",\"title\":", row.title);
        out += ",\"run_before\":" + std::to_string(row.runBefore) + ",\"run_after\":" + std::to_string(row.runAfter);
        out += "}\n";
    }
    return out;
}

std::string ChangesCsv(const std::vector<ChangeRow>& rows)
{
    std::string out = Utf8ByteOrderMark;
    AppendCsvRecord(out, std::vector<std::string>(ChangeColumns.begin(), ChangeColumns.end()));
    for (const ChangeRow& row : rows) {
        AppendCsvRecord(out, {row.shop, row.id, row.kind, row.before.value_or(""), row.after.value_or(""),
                              row.delta.value_or(""), row.percent.value_or(""), row.title,
                              std::to_string(row.runBefore), std::to_string(row.runAfter)});
    }
    return out;
}

}  // namespace korvel
