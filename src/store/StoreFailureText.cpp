#include "store/StoreFailureText.h"

#include <sqlite3.h>

namespace korvel::store {
namespace {

// 无法打开历史记录文件
constexpr char CannotOpenText[] = "\xce\xde\xb7\xa8\xb4\xf2\xbf\xaa\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc\xce\xc4\xbc\xfe";
// 历史记录文件或其文件夹只读，无法写入
constexpr char ReadOnlyText[] = "\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc\xce\xc4\xbc\xfe\xbb\xf2\xc6\xe4\xce\xc4\xbc\xfe\xbc\xd0\xd6\xbb\xb6\xc1\xa3\xac\xce\xde\xb7\xa8\xd0\xb4\xc8\xeb";
// 磁盘已满
constexpr char FullText[] = "\xb4\xc5\xc5\xcc\xd2\xd1\xc2\xfa";
// 历史记录文件被另一个程序锁定
constexpr char LockedText[] = "\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc\xce\xc4\xbc\xfe\xb1\xbb\xc1\xed\xd2\xbb\xb8\xf6\xb3\xcc\xd0\xf2\xcb\xf8\xb6\xa8";
// 历史记录文件已损坏
constexpr char CorruptText[] = "\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc\xce\xc4\xbc\xfe\xd2\xd1\xcb\xf0\xbb\xb5";
// 该文件不是 Korvel 的历史记录
constexpr char NotAStoreText[] = "\xb8\xc3\xce\xc4\xbc\xfe\xb2\xbb\xca\xc7 Korvel \xb5\xc4\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc";
// 历史记录来自更新版本的 Korvel，未作任何改动
constexpr char NewerVersionText[] = "\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc\xc0\xb4\xd7\xd4\xb8\xfc\xd0\xc2\xb0\xe6\xb1\xbe\xb5\xc4 Korvel\xa3\xac\xce\xb4\xd7\xf7\xc8\xce\xba\xce\xb8\xc4\xb6\xaf";
// 读写历史记录文件时出错
constexpr char InputOutputText[] = "\xb6\xc1\xd0\xb4\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc\xce\xc4\xbc\xfe\xca\xb1\xb3\xf6\xb4\xed";

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
    std::string cause = KindText(kind);
    if (!detail.empty())
        cause += "\xa3\xa8" + detail + "\xa3\xa9";  // （detail）
    return {kind, cause};
}

StoreError ErrorFrom(const SqliteFailure& failure)
{
    return ErrorOf(KindOf(failure.code), failure.message);
}

}  // namespace korvel::store

namespace korvel {

// 历史记录未保存：
constexpr char NotSavedText[] = "\xc0\xfa\xca\xb7\xbc\xc7\xc2\xbc\xce\xb4\xb1\xa3\xb4\xe6\xa3\xba";

std::string HistoryNotSavedLine(const StoreError& error)
{
    return NotSavedText + error.cause;
}

}  // namespace korvel
