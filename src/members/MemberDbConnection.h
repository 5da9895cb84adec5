#pragma once

// The process's one MySQL connection for the member page. A worker holds it through a lease for
// the whole of its use, so two workers never talk over it at once.

#include <mysql.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

namespace korvel {

// The connect arguments; an absent value is passed to the client library as NULL so that its own
// default applies (the local server, the default port 0 included).
struct MemberDbAddress {
    std::optional<std::string> host;
    std::optional<std::string> user;
    std::optional<std::string> password;
    std::optional<std::string> database;
    unsigned int port = 0;
};

class MemberDbConnection {
public:
    MemberDbConnection() = default;
    ~MemberDbConnection();
    MemberDbConnection(const MemberDbConnection&) = delete;
    MemberDbConnection& operator=(const MemberDbConnection&) = delete;

    // Replaces whatever was held by a fresh connection, or by none when the attempt fails. Waits
    // for a worker that still holds the connection.
    bool connect(const MemberDbAddress& address);
    bool connected() const { return connected_.load(); }

    class Lease {
    public:
        explicit Lease(MemberDbConnection& owner) : lock_(owner.mutex_), handle_(owner.handle_) {}
        MYSQL* handle() const { return handle_; }

    private:
        std::unique_lock<std::mutex> lock_;
        MYSQL* handle_;
    };
    // Exclusive use of the connection until the lease goes away; handle() is null when none is held.
    Lease lease() { return Lease(*this); }

private:
    void closeLocked();

    std::mutex mutex_;
    MYSQL* handle_ = nullptr;
    std::atomic<bool> connected_{false};
};

}  // namespace korvel
