#pragma once

// The window's reads and edits of the history: one job with one connection to the store, working
// through a queue in which a newer request of a slot replaces an older one still waiting, and
// whose answers reach the window only while they are the newest of their slot. Edits have no slot
// and are never dropped.

#include <functional>
#include <memory>
#include <string>

#include "app/JobRunner.h"
#include "store/Store.h"

namespace korvel {

class StoreWorker {
public:
    StoreWorker(JobRunner& jobs, std::string location);
    // Cancels the job; the runner joins it.
    ~StoreWorker();
    StoreWorker(const StoreWorker&) = delete;
    StoreWorker& operator=(const StoreWorker&) = delete;

    // Runs `read` on the store off the window's thread, then `show` on the window's thread with
    // what it returned (or why the store could not be opened), unless a newer request of the
    // same `slot` was made since.
    template <typename T>
    void read(int slot, std::function<StoreResult<T>(Store&)> read, std::function<void(const StoreResult<T>&)> show)
    {
        enqueue(slot, Typed<T>(std::move(read), std::move(show)));
    }

    // The same for a change, which no later request replaces. When the window closes before the
    // change is made, or it fails meanwhile, `lost` gives the line that says so on stderr.
    using LossLine = std::function<std::string(const StoreError&)>;
    template <typename T>
    void edit(std::function<StoreResult<T>(Store&)> edit, std::function<void(const StoreResult<T>&)> show,
              LossLine lost = {})
    {
        Work work = Typed<T>(std::move(edit), std::move(show), lost);
        enqueue(NoSlot, std::move(work), std::move(lost));
    }

    const std::string& location() const;

    // What the window's thread runs with a request's result, and the loss to say instead once the
    // window is gone (empty: nothing lost).
    struct Answer {
        std::function<void()> show;
        std::string loss;
    };
    // Done on the worker's thread with the store (or why it could not be opened).
    using Work = std::function<Answer(StoreResult<Store*>)>;

private:
    static constexpr int NoSlot = -1;
    struct Queue;

    template <typename T>
    static Work Typed(std::function<StoreResult<T>(Store&)> work, std::function<void(const StoreResult<T>&)> show,
                      LossLine lost = {})
    {
        return [work = std::move(work), show = std::move(show), lost = std::move(lost)](StoreResult<Store*> store) {
            auto result = std::make_shared<StoreResult<T>>(store.ok() ? work(*store.value())
                                                                      : StoreResult<T>(store.error()));
            const std::string loss = lost && !result->ok() ? lost(result->error()) : std::string();
            return Answer{[show, result] { show(*result); }, loss};
        };
    }

    void enqueue(int slot, Work work, LossLine lost = {});

    std::shared_ptr<Queue> queue_;
    std::shared_ptr<Cancellation> job_;
};

}  // namespace korvel
