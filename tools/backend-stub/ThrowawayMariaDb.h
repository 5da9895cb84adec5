#pragma once

// A MariaDB server of its own for a benchmark run: a fresh data folder, 127.0.0.1 at a free port,
// root with an empty password, stopped and removed again when the object goes away. The same steps
// as scripts/lib/mariadb.sh, for programs that run without it.

#include <sys/types.h>

#include <string>

namespace korvel::tools {

class ThrowawayMariaDb {
public:
    ThrowawayMariaDb() = default;
    ~ThrowawayMariaDb();
    ThrowawayMariaDb(const ThrowawayMariaDb&) = delete;
    ThrowawayMariaDb& operator=(const ThrowawayMariaDb&) = delete;

    // False, with the reason in error(), when the server did not come up.
    [[nodiscard]] bool start();
    void stop();

    int port() const { return port_; }
    const std::string& error() const { return error_; }

private:
    std::string dir_;
    std::string error_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace korvel::tools
