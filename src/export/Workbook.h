#pragma once

// Korvel's one way into libxlsxwriter: a workbook that owns the library's object, gives out sheets,
// and turns the library's error codes into errno when it closes. Nothing of the library shows
// outside these files; its header stays in the sources.

#include <memory>
#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_format;

namespace korvel {

class Sheet;

enum class CellStyle {
    Plain,
    Header,   // the titles above a table
    Percent,  // a fraction shown as a percentage with two decimals
};

struct CellPlace {
    int row = 0;
    int column = 0;
};

// A line chart of one column of a sheet over the rows, its categories in another column. Its
// title and its series' name are taken from cells, so that nothing from a shop's page is ever read
// as the library's "=Sheet!A1" reference syntax.
struct LineChart {
    CellPlace titleCell;
    CellPlace seriesNameCell;
    const char* xAxisName;  // UTF-8
    const char* yAxisName;
    int firstRow = 0;
    int lastRow = 0;
    int categoryColumn = 0;
    int valueColumn = 0;
    CellPlace corner;  // where its top left corner sits
};

class Workbook {
public:
    // Nothing is written to `path` before close().
    explicit Workbook(const std::string& path);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // A new sheet named in UTF-8: at most 31 characters, none of []:*?/\ .
    Sheet& addSheet(const char* name);
    void addLineChart(Sheet& sheet, const LineChart& layout);

    // Writes the file. False, with errno set, when it was not written whole: the file system's
    // errno (ENOSPC, EACCES…), ENOMEM, or EIO for a refusal of the library's own, also one that a
    // cell met before.
    [[nodiscard]] bool close();

    // For the sheets.
    lxw_format* format(CellStyle style) const;
    // Keeps the first error code of the library that a sheet or a chart met.
    void noteError(int error);

private:
    lxw_workbook* workbook_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    lxw_format* header_ = nullptr;
    lxw_format* percent_ = nullptr;
    int error_ = 0;
};

}  // namespace korvel
