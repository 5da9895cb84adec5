#include "app/UiBridge.h"

#include <QThread>
#include <memory>

namespace korvel {

bool UiBridge::call(const std::function<void()>& work)
{
    if (closing_) {
        return false;
    }
    if (QThread::currentThread() == thread()) {
        work();
        return true;
    }
    // The flag outlives an event dropped unrun: destroying the window deletes the pending call,
    // which wakes this thread without having run `work`.
    auto ran = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(
        this,
        [this, &work, ran] {
            if (!closing_) {
                work();
                *ran = true;
            }
        },
        Qt::BlockingQueuedConnection);
    return *ran;
}

}  // namespace korvel
