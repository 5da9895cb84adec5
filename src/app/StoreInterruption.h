#pragma once

// While it lives, cancelling the job interrupts its store: a wait for another program's lock or a
// statement under way ends at once, so that the job ends when it is told to.

#include "base/Cancellation.h"
#include "store/Store.h"

namespace korvel {

class StoreInterruption {
public:
    StoreInterruption(Cancellation& cancel, Store& store) : cancel_(cancel), store_(store)
    {
        cancel_.attach([](void* target) { static_cast<Store*>(target)->interrupt(); }, &store_);
        if (cancel_.cancelled())
            store_.interrupt();
    }
    ~StoreInterruption() { cancel_.detach(&store_); }
    StoreInterruption(const StoreInterruption&) = delete;
    StoreInterruption& operator=(const StoreInterruption&) = delete;

private:
    Cancellation& cancel_;
    Store& store_;
};

}  // namespace korvel
