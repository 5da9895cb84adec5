#pragma once

// The exports' dialog filters, separators and messages as GBK bytes. Each escape run is preceded
// by the text it spells.

namespace korvel::export_text {

// 文本文件(*.txt)|*.txt
inline constexpr char IdsFilter[] = "\xce\xc4\xb1\xbe\xce\xc4\xbc\xfe(*.txt)|*.txt";
inline constexpr char IdsExtension[] = "txt";
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
