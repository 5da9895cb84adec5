#pragma once

// What the window's boxes and korvel-collect's lines say of an export, in the same words.

#include <string>

#include "export/Exports.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace korvel::export_words {

inline constexpr char IdsDone[] = "导出成功，商品ID总数为：";
inline constexpr char AllDone[] = "导出成功，商品总数为：";
inline constexpr char DoneSuffix[] = "！";
inline constexpr char DoneTitle[] = "导出成功";
inline constexpr char WriteFailed[] = "文件无法写入：";
inline constexpr char WriteFailedTitle[] = "导出失败";

// GBK, "?" for what GBK cannot hold in the path.
inline std::string CannotWrite(const std::string& utf8Path)
{
    return gbk::FromUtf8(WriteFailed) + gbk::FromUtf8(utf8Path);
}

inline std::string Done(const char* prefix, int count)
{
    return gbk::FromUtf8(prefix) + IntToText(count) + gbk::FromUtf8(DoneSuffix);
}

}  // namespace korvel::export_words
