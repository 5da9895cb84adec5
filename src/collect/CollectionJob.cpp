#include "collect/CollectionJob.h"

namespace korvel {

CollectionJob::CollectionJob(const CollectionSettingsSource& inputs, CollectionObserver& observer,
                             FetchPolicy policy)
    : thread_([this, &inputs, &observer, policy = std::move(policy)] {
          static_cast<void>(RunCollection(inputs, observer, cancel_, policy));
          std::lock_guard lock(mutex_);
          done_ = true;
          ended_.notify_all();
      })
{
}

CollectionJob::~CollectionJob()
{
    cancel_.cancel();
    thread_.join();
}

bool CollectionJob::waitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, timeout, [this] { return done_; });
}

}  // namespace korvel
