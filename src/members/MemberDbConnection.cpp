#include "members/MemberDbConnection.h"

#include <fcntl.h>
#include <mysql.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvel {

namespace {

const char* OrNull(const std::optional<std::string>& value)
{
    return value ? value->c_str() : nullptr;
}

void SetLimits(MYSQL* handle, const MemberDbLimits& limits)
{
    const auto connect = static_cast<unsigned int>(limits.connect.count());
    const auto read = static_cast<unsigned int>(limits.read.count());
    const auto write = static_cast<unsigned int>(limits.write.count());
    mysql_options(handle, MYSQL_OPT_CONNECT_TIMEOUT, &connect);
    mysql_options(handle, MYSQL_OPT_READ_TIMEOUT, &read);
    mysql_options(handle, MYSQL_OPT_WRITE_TIMEOUT, &write);
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
    SetLimits(fresh, limits);
    if (mysql_real_connect(fresh, OrNull(address.host), OrNull(address.user), OrNull(address.password),
                           OrNull(address.database), address.port, nullptr, 0) == nullptr) {
        mysql_close(fresh);  // a failed attempt's object is of no further use
        return false;
    }
    handle_ = fresh;
    watchSocket(fresh);
    connected_ = true;
    return true;
}

void MemberDbConnection::watchSocket(MYSQL* handle)
{
    int socket = -1;
    mariadb_get_infov(handle, MARIADB_CONNECTION_SOCKET, &socket);
    std::lock_guard lock(cancelMutex_);
    socketCopy_ = socket < 0 ? -1 : fcntl(socket, F_DUPFD_CLOEXEC, 0);
    if (cancelled_ && socketCopy_ >= 0) {
        shutdown(socketCopy_, SHUT_RDWR);
    }
}

void MemberDbConnection::cancel()
{
    std::lock_guard lock(cancelMutex_);
    cancelled_ = true;
    if (socketCopy_ >= 0) {
        shutdown(socketCopy_, SHUT_RDWR);
    }
}

void MemberDbConnection::closeLocked()
{
    {
        // The copy keeps the socket open: it goes with the connection, or the server would never
        // learn that the connection ended.
        std::lock_guard lock(cancelMutex_);
        if (socketCopy_ >= 0) {
            ::close(socketCopy_);
            socketCopy_ = -1;
        }
    }
    if (handle_ != nullptr) {
        mysql_close(handle_);
        handle_ = nullptr;
    }
    connected_ = false;
}

}  // namespace korvel
