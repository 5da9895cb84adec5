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
// The save dialog's choice of an Excel workbook, "description|pattern" as SaveDialog takes it (UTF-8).
inline constexpr char WorkbookFilter[] = "Excel 工作簿 (*.xlsx)|*.xlsx";

// GBK, "?" for what GBK cannot hold in the path.
inline std::string CannotWrite(const std::string& utf8Path)
{
    return gbk::FromUtf8(WriteFailed) + gbk::FromUtf8(utf8Path);
}

// GBK: why a path could not take an export, for the line under the failure; empty when unknown.
inline std::string Cause(WriteRefusal refusal)
{
    switch (refusal) {
        case WriteRefusal::FolderMissing:
            return gbk::FromUtf8("文件夹不存在");
        case WriteRefusal::IsFolder:
            return gbk::FromUtf8("这是一个文件夹，不是文件");
        case WriteRefusal::ReadOnly:
            return gbk::FromUtf8("磁盘为只读");
        case WriteRefusal::NoPermission:
            return gbk::FromUtf8("没有写入权限");
        case WriteRefusal::OutputClosed:
            return gbk::FromUtf8("标准输出已关闭");
        case WriteRefusal::DiskFull:
            return gbk::FromUtf8("磁盘空间不足");
        case WriteRefusal::None:
            break;
    }
    return {};
}

// The failure box's text: the path, and the cause on a line of its own when it is known.
inline std::string CannotWriteWithCause(const std::string& utf8Path, WriteRefusal refusal)
{
    const std::string cause = Cause(refusal);
    return CannotWrite(utf8Path) + (cause.empty() ? "" : "\n" + cause);
}

inline std::string Done(const char* prefix, int count)
{
    return gbk::FromUtf8(prefix) + IntToText(count) + gbk::FromUtf8(DoneSuffix);
}

}  // namespace korvel::export_words
