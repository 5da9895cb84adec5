#include "export/Workbook.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <new>
#include <utility>

#include "export/Sheet.h"

namespace korvel {
namespace {

// The errno for an error code of the library; `seen` is errno as the failed call left it, which
// says why the file system refused.
int ErrnoOf(int error, int seen)
{
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return ENOMEM;
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return seen != 0 ? seen : EIO;
        default:
            return EIO;
    }
}

template <typename T>
T* Made(T* made)
{
    if (made == nullptr)
        throw std::bad_alloc();
    return made;
}

}  // namespace

Workbook::Workbook(const std::string& path) : workbook_(Made(workbook_new(path.c_str())))
{
    header_ = Made(workbook_add_format(workbook_));
    format_set_bold(header_);
    percent_ = Made(workbook_add_format(workbook_));
    format_set_num_format(percent_, "0.00%");
}

Workbook::~Workbook()
{
    if (workbook_ != nullptr)
        lxw_workbook_free(workbook_);
}

Sheet& Workbook::addSheet(const char* name)
{
    lxw_worksheet* sheet = Made(workbook_add_worksheet(workbook_, name));
    return *sheets_.emplace_back(std::make_unique<Sheet>(*this, sheet, name));
}

void Workbook::addLineChart(Sheet& sheet, const LineChart& layout)
{
    lxw_chart* chart = Made(workbook_add_chart(workbook_, LXW_CHART_LINE));
    lxw_chart_series* series = Made(chart_add_series(chart, nullptr, nullptr));
    const char* name = sheet.name().c_str();
    chart_series_set_categories(series, name, layout.firstRow, layout.categoryColumn, layout.lastRow,
                                layout.categoryColumn);
    chart_series_set_values(series, name, layout.firstRow, layout.valueColumn, layout.lastRow, layout.valueColumn);
    chart_series_set_name_range(series, name, layout.seriesNameCell.row, layout.seriesNameCell.column);
    chart_title_set_name_range(chart, name, layout.titleCell.row, layout.titleCell.column);
    chart_axis_set_name(chart->x_axis, layout.xAxisName);
    chart_axis_set_name(chart->y_axis, layout.yAxisName);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    noteError(worksheet_insert_chart(sheet.handle(), layout.corner.row, layout.corner.column, chart));
}

bool Workbook::close()
{
    lxw_workbook* workbook = std::exchange(workbook_, nullptr);
    if (error_ != LXW_NO_ERROR) {
        // A workbook missing a cell is not the export asked for: nothing is written.
        lxw_workbook_free(workbook);
        errno = ErrnoOf(error_, 0);
        return false;
    }
    errno = 0;
    const lxw_error error = workbook_close(workbook);  // frees it, whatever the outcome
    if (error == LXW_NO_ERROR)
        return true;
    errno = ErrnoOf(error, errno);
    return false;
}

lxw_format* Workbook::format(CellStyle style) const
{
    switch (style) {
        case CellStyle::Header:
            return header_;
        case CellStyle::Percent:
            return percent_;
        case CellStyle::Plain:
            break;
    }
    return nullptr;
}

void Workbook::noteError(int error)
{
    if (error_ == LXW_NO_ERROR)
        error_ = error;
}

}  // namespace korvel
