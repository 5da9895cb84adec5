#pragma once

// The process's one MySQL connection for the member page. A worker holds it through a lease for
// the whole of its use, so two workers never talk over it at once.
//
// Every wait on the server is bounded (MemberDbLimits) and can be cut short from another thread
// (cancel()): the window must be able to close while a statement waits on a locked table.

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>

// libmariadb's MYSQL, opaque here: the window and the other modules include this header, and only
// the member module's own sources need the client library's.
struct st_mysql;

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

// How long the client library waits on the server: to connect, and for each read or write of a
// statement. A statement that runs into a limit fails as if the server had gone.
struct MemberDbLimits {
    std::chrono::seconds connect{10};
    std::chrono::seconds read{30};
    std::chrono::seconds write{30};
};

class MemberDbConnection {
public:
    MemberDbConnection() = default;
    ~MemberDbConnection();
    MemberDbConnection(const MemberDbConnection&) = delete;
    MemberDbConnection& operator=(const MemberDbConnection&) = delete;

    // Read at each connect.
    MemberDbLimits limits;

    // Replaces whatever was held by a fresh connection, or by none when the attempt fails or is
    // cancelled. Waits for a worker that still holds the connection.
    [[nodiscard]] bool connect(const MemberDbAddress& address);
    bool connected() const { return connected_.load(); }

    // Any thread, without waiting for the lease: a statement in progress fails at once, and so does
    // every later one. For a page that is going away.
    void cancel();

    class Lease {
    public:
        explicit Lease(MemberDbConnection& owner) : owner_(owner), lock_(owner.mutex_) {}
        st_mysql* handle() const { return owner_.handle_; }
        // Closes the connection, e.g. after a statement lost it; handle() is null from then on.
        void drop() { owner_.closeLocked(); }

    private:
        MemberDbConnection& owner_;
        std::unique_lock<std::mutex> lock_;
    };
    // Exclusive use of the connection until the lease goes away; handle() is null when none is held.
    Lease lease() { return Lease(*this); }

private:
    void closeLocked();
    void watchSocket(st_mysql* handle);

    std::mutex mutex_;
    st_mysql* handle_ = nullptr;
    std::atomic<bool> connected_{false};

    // cancel() shuts a duplicate of the connection's socket: the duplicate stays valid whatever the
    // client library does with its own descriptor, so cancel() never touches the library's state
    // nor a descriptor number that was closed and reused meanwhile.
    std::mutex cancelMutex_;
    int socketCopy_ = -1;
    bool cancelled_ = false;
    // Read by a connect in progress, which holds no lock the cancel could wait for.
    std::atomic<bool> connectCancelled_{false};
};

}  // namespace korvel
