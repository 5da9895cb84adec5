#pragma once

// The exports' dialog filters, separators and messages as GBK bytes. Each escape run is preceded
// by the text it spells.

namespace korvel::export_text {

// The second filter, CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)|*.csv, and it alone makes the
// exports write CSV: a name typed with ".csv" under the text filter still gets text.
// 文本文件(*.txt)|*.txt|CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)|*.csv
inline constexpr char IdsFilter[] =
    "\xce\xc4\xb1\xbe\xce\xc4\xbc\xfe(*.txt)|*.txt|"
    "CSV \xce\xc4\xbc\xfe\xa3\xa8UTF-8\xa3\xac\xbf\xc9\xd6\xb1\xbd\xd3\xd3\xc3 Excel "
    "\xb4\xf2\xbf\xaa\xa3\xa9(*.csv)|*.csv";
inline constexpr char IdsExtension[] = "txt";
inline constexpr int CsvFilterIndex = 1;
// 文本文件(*.txt)|*.txt|CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)|*.csv|所有文件(*.*)|*.*
inline constexpr char AllFilter[] =
    "\xce\xc4\xb1\xbe\xce\xc4\xbc\xfe(*.txt)|*.txt|"
    "CSV \xce\xc4\xbc\xfe\xa3\xa8UTF-8\xa3\xac\xbf\xc9\xd6\xb1\xbd\xd3\xd3\xc3 Excel "
    "\xb4\xf2\xbf\xaa\xa3\xa9(*.csv)|*.csv|"
    "\xcb\xf9\xd3\xd0\xce\xc4\xbc\xfe(*.*)|*.*";
// 文本文件(*.txt)|*.txt|所有文件(*.*)|*.*
inline constexpr char ListFilter[] =
    "\xce\xc4\xb1\xbe\xce\xc4\xbc\xfe(*.txt)|*.txt|\xcb\xf9\xd3\xd0\xce\xc4\xbc\xfe(*.*)|*.*";
inline constexpr char ListExtension[] = ".txt";

// Two ideographic spaces, and CR LF.
inline constexpr char FieldSeparator[] = "\xa1\xa1\xa1\xa1";
inline constexpr char LineSeparator[] = "\r\n";

// 导出成功，商品ID总数为： … ！
inline constexpr char IdsDone[] =
    "\xb5\xbc\xb3\xf6\xb3\xc9\xb9\xa6\xa3\xac\xc9\xcc\xc6\xb7ID\xd7\xdc\xca\xfd\xce\xaa\xa3\xba";
// 导出成功，商品总数为： … ！
inline constexpr char AllDone[] =
    "\xb5\xbc\xb3\xf6\xb3\xc9\xb9\xa6\xa3\xac\xc9\xcc\xc6\xb7\xd7\xdc\xca\xfd\xce\xaa\xa3\xba";
inline constexpr char DoneSuffix[] = "\xa3\xa1";
// 导出成功
inline constexpr char DoneTitle[] = "\xb5\xbc\xb3\xf6\xb3\xc9\xb9\xa6";

// 文件无法写入： followed by the path
inline constexpr char WriteFailed[] = "\xce\xc4\xbc\xfe\xce\xde\xb7\xa8\xd0\xb4\xc8\xeb\xa3\xba";
// 导出失败
inline constexpr char WriteFailedTitle[] = "\xb5\xbc\xb3\xf6\xca\xa7\xb0\xdc";

}  // namespace korvel::export_text
