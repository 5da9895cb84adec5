#include "app/MemberPageSession.h"

#include <chrono>
#include <thread>

namespace korvel {
namespace {

const char* JobName(MemberJob kind)
{
    switch (kind) {
    case MemberJob::Connect: return "会员数据库连接";
    case MemberJob::Read: return "会员读取";
    case MemberJob::Upload: return "会员上传";
    case MemberJob::SingleUpload: return "单个会员上传";
    }
    return "会员";
}

}  // namespace

MemberPageSession::~MemberPageSession()
{
    stop();
    while (!workersDone())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void MemberPageSession::start(MemberJob kind, std::function<void()> body)
{
    jobStarted();
    jobs_.start(JobName(kind), [this, body = std::move(body)](JobRunner::Context& job) {
        Cancellation& cancel = job.cancellation();
        cancel.attach([](void* session) { static_cast<MemberSession*>(session)->stop(); }, this);
        if (cancel.cancelled())
            stop();
        body();
        cancel.detach(this);
        jobReturned();
    });
}

}  // namespace korvel
