#include "members/MemberDbConnection.h"

#include <fcntl.h>
#include <mysql.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

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

// How often a connect that waits on the server looks whether it was cancelled.
constexpr int CancelCheckMs = 50;

// Waits for what the client library asked for, in short slices so that a cancel is seen at once;
// MYSQL_WAIT_TIMEOUT once the library's own limit has passed.
int WaitFor(MYSQL* handle, int wanted, const std::atomic<bool>& cancelled)
{
    const bool timed = (wanted & MYSQL_WAIT_TIMEOUT) != 0;
    int leftMs = timed ? static_cast<int>(mysql_get_timeout_value_ms(handle)) : -1;
    pollfd socket{mysql_get_socket(handle), 0, 0};
    socket.events = static_cast<short>(((wanted & MYSQL_WAIT_READ) ? POLLIN : 0) |
                                       ((wanted & MYSQL_WAIT_WRITE) ? POLLOUT : 0) |
                                       ((wanted & MYSQL_WAIT_EXCEPT) ? POLLPRI : 0));
    while (!cancelled) {
        const int slice = leftMs < 0 ? CancelCheckMs : std::min(leftMs, CancelCheckMs);
        const int ready = poll(&socket, 1, slice);
        if (ready > 0) {
            return ((socket.revents & (POLLIN | POLLHUP | POLLERR)) ? MYSQL_WAIT_READ : 0) |
                   ((socket.revents & POLLOUT) ? MYSQL_WAIT_WRITE : 0) |
                   ((socket.revents & POLLPRI) ? MYSQL_WAIT_EXCEPT : 0);
        }
        if (leftMs >= 0 && (leftMs -= slice) <= 0) {
            return MYSQL_WAIT_TIMEOUT;
        }
    }
    return 0;
}

// mysql_real_connect, but a cancel ends the attempt within a slice: the window must be able to
// close while a server accepts the connection and never greets.
bool ConnectCancellably(MYSQL* handle, const MemberDbAddress& address, const std::atomic<bool>& cancelled)
{
    mysql_options(handle, MYSQL_OPT_NONBLOCK, nullptr);
    MYSQL* connected = nullptr;
    int wanted = mysql_real_connect_start(&connected, handle, OrNull(address.host), OrNull(address.user),
                                          OrNull(address.password), OrNull(address.database), address.port,
                                          nullptr, 0);
    while (wanted != 0) {
        const int ready = WaitFor(handle, wanted, cancelled);
        if (ready == 0) {
            return false;
        }
        wanted = mysql_real_connect_cont(&connected, handle, ready);
    }
    return connected != nullptr;
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
    if (!ConnectCancellably(fresh, address, connectCancelled_)) {
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
    connectCancelled_ = true;
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
