#pragma once

// A workbook read back through tests/export/read_workbook.py, a reader of the file format written
// for the tests (Python's zipfile and xml.etree), not through the library that wrote it. Each
// record is one line of its output: a JSON array of strings whose first names the kind (cell,
// link, pane, filter, width, chart, formula, sheet).

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::test {

using WorkbookRecord = std::vector<std::string>;

// A JSON string from its opening quote; `at` ends past the closing one. The reader escapes only
// quotes, backslashes and control characters, each within the Basic Multilingual Plane.
inline std::string JsonStringAt(std::string_view line, size_t& at)
{
    std::string text;
    for (++at; at < line.size() && line[at] != '"'; ++at) {
        if (line[at] != '\\') {
            text += line[at];
            continue;
        }
        const char escaped = line[++at];
        const std::string_view simple = "\"\\/bfnrt";
        const std::string_view meant = "\"\\/\b\f\n\r\t";
        if (escaped != 'u') {
            text += meant[simple.find(escaped)];
            continue;
        }
        const auto code = static_cast<char32_t>(std::stoul(std::string(line.substr(at + 1, 4)), nullptr, 16));
        at += 4;
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    ++at;
    return text;
}

inline WorkbookRecord ParseRecord(std::string_view line)
{
    WorkbookRecord record;
    for (size_t at = line.find('"'); at < line.size(); at = line.find('"', at))
        record.push_back(JsonStringAt(line, at));
    return record;
}

inline std::vector<WorkbookRecord> ReadWorkbook(const std::string& path)
{
    const std::string command =
        "python3 " KORVEL_SOURCE_DIR "/tests/export/read_workbook.py '" + path + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    EXPECT_EQ(status, 0) << "the reader refused " << path << ":\n" << output;
    std::vector<WorkbookRecord> records;
    for (size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos; start = end + 1)
        records.push_back(ParseRecord(std::string_view(output).substr(start, end - start)));
    return records;
}

struct ReadCell {
    std::string type;  // n, s, inlineStr…
    std::string value;
    std::string format;
    bool operator==(const ReadCell&) const = default;
};

// The cells of every sheet by reference, "A1".
inline std::map<std::string, ReadCell> CellsOf(const std::vector<WorkbookRecord>& records)
{
    std::map<std::string, ReadCell> cells;
    for (const WorkbookRecord& record : records) {
        if (record.size() == 6 && record[0] == "cell")
            cells[record[2]] = {record[3], record[4], record[5]};
    }
    return cells;
}

// The records of one kind, without the kind.
inline std::vector<WorkbookRecord> RecordsOf(const std::vector<WorkbookRecord>& records,
                                             const std::string& kind)
{
    std::vector<WorkbookRecord> found;
    for (const WorkbookRecord& record : records) {
        if (!record.empty() && record[0] == kind)
            found.emplace_back(record.begin() + 1, record.end());
    }
    return found;
}

// The links by cell reference.
inline std::map<std::string, std::string> LinksOf(const std::vector<WorkbookRecord>& records)
{
    std::map<std::string, std::string> links;
    for (const WorkbookRecord& link : RecordsOf(records, "link"))
        links[link.at(1)] = link.at(2);
    return links;
}

// "A1" for row 0, column 0.
inline std::string CellName(int row, int column)
{
    return std::string(1, static_cast<char>('A' + column)) + std::to_string(row + 1);
}

}  // namespace korvel::test
