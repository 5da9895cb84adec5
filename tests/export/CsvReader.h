#pragma once

// An RFC 4180 reader written from the RFC alone, to read back what the CSV exports write: records
// end in CR LF, a field in double quotes may hold commas, CR, LF and doubled quotes. Anything else
// (a bare quote, a lone CR or LF outside quotes, text after a closing quote, no final CR LF) is
// malformed and gives nullopt.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::test {

using CsvTable = std::vector<std::vector<std::string>>;

inline std::optional<std::string> ReadQuotedField(std::string_view csv, size_t& at)
{
    std::string field;
    for (++at; at < csv.size(); ++at) {
        if (csv[at] != '"') {
            field += csv[at];
        } else if (at + 1 < csv.size() && csv[at + 1] == '"') {
            field += '"';
            ++at;
        } else {
            ++at;
            return field;
        }
    }
    return std::nullopt;
}

inline std::optional<CsvTable> ReadCsv(std::string_view csv)
{
    CsvTable table(1);
    size_t at = 0;
    while (at < csv.size()) {
        std::optional<std::string> field;
        if (csv[at] == '"') {
            field = ReadQuotedField(csv, at);
        } else {
            const size_t end = std::min(csv.find_first_of(",\r\n\"", at), csv.size());
            field = std::string(csv.substr(at, end - at));
            at = end;
        }
        if (!field)
            return std::nullopt;
        table.back().push_back(*field);
        if (csv.substr(at, 1) == ",") {
            ++at;
        } else if (csv.substr(at, 2) == "\r\n") {
            at += 2;
            if (at < csv.size())
                table.emplace_back();
        } else {
            return std::nullopt;
        }
    }
    if (csv.empty() || !csv.ends_with("\r\n"))
        return std::nullopt;
    return table;
}

}  // namespace korvel::test
