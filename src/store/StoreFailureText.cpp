#include "store/StoreFailureText.h"

#include <sqlite3.h>

#include "text/Gbk.h"

namespace korvel::store {
namespace {

constexpr char CannotOpenText[] = "无法打开历史记录文件";
constexpr char ReadOnlyText[] = "历史记录文件或其文件夹只读，无法写入";
constexpr char FullText[] = "磁盘已满";
constexpr char LockedText[] = "历史记录文件被另一个程序锁定";
constexpr char CorruptText[] = "历史记录文件已损坏";
constexpr char NotAStoreText[] = "该文件不是 Korvel 的历史记录";
constexpr char NewerVersionText[] = "历史记录来自更新版本的 Korvel，未作任何改动";
constexpr char InputOutputText[] = "读写历史记录文件时出错";

// The words are UTF-8 here and GBK in every cause, like the collection's causes.
const char* KindText(StoreFailure kind)
{
    switch (kind) {
    case StoreFailure::CannotOpen: return CannotOpenText;
    case StoreFailure::ReadOnly: return ReadOnlyText;
    case StoreFailure::Full: return FullText;
    case StoreFailure::Locked: return LockedText;
    case StoreFailure::Corrupt: return CorruptText;
    case StoreFailure::NotAStore: return NotAStoreText;
    case StoreFailure::NewerVersion: return NewerVersionText;
    case StoreFailure::InputOutput: return InputOutputText;
    }
    return InputOutputText;
}

StoreFailure KindOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return StoreFailure::CannotOpen;
    case SQLITE_READONLY: return StoreFailure::ReadOnly;
    case SQLITE_FULL: return StoreFailure::Full;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return StoreFailure::Locked;
    case SQLITE_CORRUPT: return StoreFailure::Corrupt;
    case SQLITE_NOTADB: return StoreFailure::NotAStore;
    default: break;
    }
    // A short read is the end of a truncated file.
    return code == SQLITE_IOERR_SHORT_READ ? StoreFailure::Corrupt : StoreFailure::InputOutput;
}

}  // namespace

StoreError ErrorOf(StoreFailure kind, const std::string& detail)
{
    std::string cause = gbk::FromUtf8(KindText(kind));
    if (!detail.empty())
        cause += gbk::FromUtf8("（") + detail + gbk::FromUtf8("）");
    return {kind, cause};
}

StoreError ErrorFrom(const SqliteFailure& failure)
{
    return ErrorOf(KindOf(failure.code), failure.message);
}

}  // namespace korvel::store

namespace korvel {

constexpr char NotSavedText[] = "历史记录未保存：";

std::string HistoryNotSavedLine(const StoreError& error)
{
    return gbk::FromUtf8(NotSavedText) + error.cause;
}

}  // namespace korvel
