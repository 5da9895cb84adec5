#pragma once

// The article import's caption and message as the GBK bytes the window shows. Each escape run is
// preceded by the text it spells.

namespace korvel::article_text {

// 数据库打开失败！
inline constexpr char OpenFailed[] = "\xca\xfd\xbe\xdd\xbf\xe2\xb4\xf2\xbf\xaa\xca\xa7\xb0\xdc\xa3\xa1";
// 信息：
inline constexpr char OpenFailedTitle[] = "\xd0\xc5\xcf\xa2\xa3\xba";
// 已经入库数：
inline constexpr char ProgressPrefix[] = "\xd2\xd1\xbe\xad\xc8\xeb\xbf\xe2\xca\xfd\xa3\xba";

}  // namespace korvel::article_text
