#include "members/MemberSession.h"

#include <utility>

namespace korvel {

MemberSession::MemberSession(std::string backendHost, std::string backendAccountId)
    : backendHost_(std::move(backendHost)), backendAccountId_(std::move(backendAccountId))
{
}

MemberSession::~MemberSession()
{
    shutdown();
}

std::string MemberSession::backendHost() const
{
    std::lock_guard lock(backendMutex_);
    return backendHost_;
}

void MemberSession::setBackendHost(std::string host)
{
    std::lock_guard lock(backendMutex_);
    backendHost_ = std::move(host);
}

void MemberSession::start(MemberJob kind, std::function<void()> body)
{
    std::thread& worker = workers_[static_cast<size_t>(kind)];
    if (worker.joinable()) {
        worker.join();
    }
    ++running_;
    worker = std::thread([this, body = std::move(body)] {
        body();
        --running_;
    });
}

void MemberSession::stop()
{
    closing = true;
    memberReadingActive = 0;
    connection_.cancel();
    uploadCancellation_.cancel();
}

void MemberSession::shutdown()
{
    stop();
    for (std::thread& worker : workers_) {
        if (worker.joinable()) {
            worker.join();
        }
    }
}

}  // namespace korvel
