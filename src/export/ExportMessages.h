#pragma once

// The exports' dialog filters, separators and messages as GBK bytes, converted once from UTF-8.

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

// 导出成功，商品ID总数为： … ！
inline const std::string IdsDone = gbk::FromUtf8("导出成功，商品ID总数为：");
// 导出成功，商品总数为： … ！
inline const std::string AllDone = gbk::FromUtf8("导出成功，商品总数为：");
inline const std::string DoneSuffix = gbk::FromUtf8("！");
inline const std::string DoneTitle = gbk::FromUtf8("导出成功");

// 文件无法写入： followed by the path
inline const std::string WriteFailed = gbk::FromUtf8("文件无法写入：");
inline const std::string WriteFailedTitle = gbk::FromUtf8("导出失败");

}  // namespace korvel::export_text
