#pragma once

// One sheet of a Workbook, written cell by cell. Text always goes in as text: a title that begins
// with "=", "+", "-" or "@" stays what the shop wrote and never runs as a formula in the user's
// spreadsheet. Each cell's text is also measured, so the columns can be fitted to it.

#include <string>
#include <string_view>
#include <vector>

#include "export/Workbook.h"

struct lxw_worksheet;

namespace korvel {

class Sheet {
public:
    Sheet(Workbook& book, lxw_worksheet* sheet, std::string name);

    void text(int row, int column, std::string_view utf8, CellStyle style = CellStyle::Plain);
    // A line of text above a table, in bold, free to run on over the empty cells to its right: it
    // does not widen its column.
    void heading(int row, int column, std::string_view utf8);
    void number(int row, int column, double value, CellStyle style = CellStyle::Plain);
    // A number when the text is a clean one (CellNumber.h), else the text.
    void numberOrText(int row, int column, std::string_view utf8);
    // The same for a percentage written as "-12.5": the number is the fraction, shown as -12.50%.
    void percentOrText(int row, int column, std::string_view utf8);
    // A hyperlink to a web address (LinkAddress.h), showing the address as written; the text
    // alone for any other address, and once the sheet holds the 65530 links Excel allows.
    void link(int row, int column, std::string_view utf8Address);

    // The first `rows` rows stay in view while the rest scrolls.
    void freezeRows(int rows);
    // The filter buttons over a table from its title row down.
    void filter(int titleRow, int lastRow, int lastColumn);
    // Each column as wide as its widest cell, within bounds.
    void fitColumns();

    const std::string& name() const { return name_; }
    lxw_worksheet* handle() const { return sheet_; }

private:
    void write(int row, int column, const std::string& cell, CellStyle style);
    void measure(int column, std::string_view utf8);

    Workbook& book_;
    lxw_worksheet* sheet_;
    std::string name_;
    std::vector<int> widths_;  // of each column, in characters
    int links_ = 0;
};

}  // namespace korvel
