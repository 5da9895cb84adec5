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

void MemberSession::startReader(std::function<void()> body)
{
    restart(reader_, std::move(body));
}

void MemberSession::startUploader(std::function<void()> body)
{
    restart(uploader_, std::move(body));
}

void MemberSession::restart(std::thread& worker, std::function<void()> body)
{
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
    for (std::thread* worker : {&reader_, &uploader_}) {
        if (worker->joinable()) {
            worker->join();
        }
    }
}

}  // namespace korvel
