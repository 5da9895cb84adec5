#include "backend-stub/ThrowawayMariaDb.h"

#include <mysql.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace korvel::tools {

namespace {

int FreePort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(s);
    return port;
}

bool Answers(int port)
{
    MYSQL* db = mysql_init(nullptr);
    const bool up =
        mysql_real_connect(db, "127.0.0.1", "root", nullptr, nullptr, port, nullptr, 0) != nullptr;
    mysql_close(db);
    return up;
}

}  // namespace

ThrowawayMariaDb::~ThrowawayMariaDb()
{
    stop();
}

bool ThrowawayMariaDb::start()
{
    char pattern[] = "/tmp/korvel-bench-mariadb-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        error_ = "no temporary folder";
        return false;
    }
    dir_ = pattern;
    const std::string install = "mariadb-install-db --no-defaults --datadir=" + dir_ +
                                "/data --user=root --auth-root-authentication-method=normal --skip-test-db"
                                " --innodb-log-file-size=8M >" +
                                dir_ + "/install.log 2>&1";
    if (std::system(install.c_str()) != 0) {
        error_ = "mariadb-install-db failed, see " + dir_ + "/install.log";
        return false;
    }
    port_ = FreePort();
    const std::string args[] = {"mariadbd",
                                "--no-defaults",
                                "--datadir=" + dir_ + "/data",
                                "--socket=" + dir_ + "/sock",
                                "--port=" + std::to_string(port_),
                                "--bind-address=127.0.0.1",
                                "--user=root",
                                "--pid-file=" + dir_ + "/pid",
                                "--log-error=" + dir_ + "/err.log",
                                "--innodb-log-file-size=8M",
                                "--character-set-server=utf8mb4",
                                "--skip-name-resolve"};
    pid_ = fork();
    if (pid_ == 0) {
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    for (int attempt = 0; attempt < 150; ++attempt) {
        if (Answers(port_)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    error_ = "mariadbd did not answer, see " + dir_ + "/err.log";
    return false;
}

void ThrowawayMariaDb::stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (!dir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
        dir_.clear();
    }
}

}  // namespace korvel::tools
