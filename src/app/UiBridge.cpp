#include "app/UiBridge.h"

#include <utility>

namespace korvel {

void UiBridge::post(std::function<void()> work)
{
    if (closing_) {
        return;
    }
    // Destroying the bridge drops what is still queued for it, unrun.
    QMetaObject::invokeMethod(
        this,
        [this, work = std::move(work)] {
            if (!closing_) {
                work();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace korvel
