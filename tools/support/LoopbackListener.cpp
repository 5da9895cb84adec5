#include "support/LoopbackListener.h"

#include <sys/socket.h>
#include <unistd.h>

#include <utility>

#include "support/Sockets.h"

namespace korvel::tools {

LoopbackListener::~LoopbackListener()
{
    stop();
}

bool LoopbackListener::start(Accepted accepted, int port)
{
    accepted_ = std::move(accepted);
    port_ = port;
    listener_ = ListenOnLoopback(port_);
    if (listener_ < 0) {
        port_ = 0;
        return false;
    }
    acceptor_ = std::thread([this] { acceptLoop(); });
    return true;
}

void LoopbackListener::stop()
{
    stopping_ = true;
    if (listener_ < 0)
        return;
    // Shutting the socket down wakes a thread blocked in accept().
    shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    close(listener_);
    listener_ = -1;
}

void LoopbackListener::acceptLoop()
{
    for (;;) {
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            return;
        if (stopping_) {
            close(connection);
            return;
        }
        accepted_(connection);
    }
}

}  // namespace korvel::tools
