#pragma once

// The exports' dialog filters and separators as GBK bytes, converted once from UTF-8.

#include <string>

#include "text/Gbk.h"

namespace korvel::export_text {

// The second filter, CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)|*.csv, and it alone makes the
// exports write CSV: a name typed with ".csv" under the text filter still gets text.
inline const std::string IdsFilter =
    gbk::FromUtf8("文本文件(*.txt)|*.txt|CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)|*.csv");
inline constexpr char IdsExtension[] = "txt";
inline constexpr int CsvFilterIndex = 1;
inline const std::string AllFilter =
    gbk::FromUtf8("文本文件(*.txt)|*.txt|CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)|*.csv|所有文件(*.*)|*.*");
inline const std::string ListFilter = gbk::FromUtf8("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*");
inline constexpr char ListExtension[] = ".txt";

// Two ideographic spaces, and CR LF.
inline const std::string FieldSeparator = gbk::FromUtf8("　　");
inline constexpr char LineSeparator[] = "\r\n";

}  // namespace korvel::export_text
