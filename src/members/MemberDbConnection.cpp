#include "members/MemberDbConnection.h"

namespace korvel {

namespace {

const char* OrNull(const std::optional<std::string>& value)
{
    return value ? value->c_str() : nullptr;
}

}  // namespace

MemberDbConnection::~MemberDbConnection()
{
    std::lock_guard lock(mutex_);
    closeLocked();
}

bool MemberDbConnection::connect(const MemberDbAddress& address)
{
    std::lock_guard lock(mutex_);
    closeLocked();
    MYSQL* fresh = mysql_init(nullptr);
    if (fresh == nullptr) {
        return false;
    }
    if (mysql_real_connect(fresh, OrNull(address.host), OrNull(address.user), OrNull(address.password),
                           OrNull(address.database), address.port, nullptr, 0) == nullptr) {
        mysql_close(fresh);  // a failed attempt's object is of no further use
        return false;
    }
    handle_ = fresh;
    connected_ = true;
    return true;
}

void MemberDbConnection::closeLocked()
{
    if (handle_ != nullptr) {
        mysql_close(handle_);
        handle_ = nullptr;
    }
    connected_ = false;
}

}  // namespace korvel
