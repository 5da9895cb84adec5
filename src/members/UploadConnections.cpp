#include "members/UploadConnections.h"

#include "web/HttpSettings.h"

namespace korvel {

namespace {

constexpr std::chrono::seconds MaxIdle{1};

}  // namespace

void UploadConnections::beforeUpload()
{
    const Clock::time_point ended{Clock::duration(lastEnded_.load())};
    if (Clock::now() - ended >= MaxIdle) {
        // The client keeps idle connections in one pool for the whole process: a collection's
        // idle connections go too, and its next page opens a new one.
        CloseIdleConnections();
    }
}

void UploadConnections::afterUpload()
{
    lastEnded_ = Clock::now().time_since_epoch().count();
}

}  // namespace korvel
