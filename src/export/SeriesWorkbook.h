#pragma once

// One product's prices over the recorded runs as an Excel workbook: one sheet, 价格走势, with the
// product's title in its first row, then 时间, 销售价, 市场价 and 已售 for each run, and a line chart
// of the sale price over the runs beside the table.

#include <optional>
#include <string>
#include <vector>

namespace korvel {

// One run's values of the product.
struct SeriesRow {
    std::string when;  // the run's local date and time as text, "2024-05-01 09:30" (GBK)
    std::optional<double> salePrice;
    std::optional<double> marketPrice;
    std::string sold;  // GBK, as extracted
};

// Writes the workbook at `path` itself (FileWriting.h stages it beside a target); false, with
// errno set, when it was not written whole. The title is GBK, as extracted. A run without a price
// leaves its cell empty, a gap in the chart; with no row at all there is no chart.
[[nodiscard]] bool WriteSeriesWorkbook(const std::string& path, const std::string& title,
                                       const std::vector<SeriesRow>& rows);

}  // namespace korvel
