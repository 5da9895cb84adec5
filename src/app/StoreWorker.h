#pragma once

// The window's reads and edits of the history: one job with one connection to the store, working
// through a queue in which a newer request of a slot replaces an older one still waiting, and
// whose answers reach the window only while they are the newest of their slot. Edits have no slot
// and are never dropped.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/JobRunner.h"
#include "base/Cancellation.h"
#include "store/Store.h"

namespace korvel {

class StoreWorker {
    struct Queue;

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

    // What a job that works with the history throughout (the window's batch) holds to make its
    // store calls on the worker's connection, waiting for each on its own thread, never the
    // window's. It keeps the worker's queue while the job runs, even past the window.
    class Calls {
    public:
        // Once `stop` is cancelled the call waits no longer and says so.
        template <typename T>
        StoreResult<T> call(std::function<StoreResult<T>(Store&)> work, const Cancellation& stop) const
        {
            auto done = std::make_shared<Done<T>>();
            Enqueue(*queue_, NoSlot, [work = std::move(work), done](StoreResult<Store*> store) {
                done->set(store.ok() ? work(*store.value()) : StoreResult<T>(store.error()));
                return Answer{};
            });
            return done->wait(stop);
        }

    private:
        friend class StoreWorker;
        explicit Calls(std::shared_ptr<Queue> queue) : queue_(std::move(queue)) {}
        std::shared_ptr<Queue> queue_;
    };
    Calls calls() const { return Calls(queue_); }

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

    // A call's result, handed from the worker to the job that waits for it.
    template <typename T>
    struct Done {
        std::mutex mutex;
        std::condition_variable ready;
        std::optional<StoreResult<T>> result;

        void set(StoreResult<T> value)
        {
            std::lock_guard lock(mutex);
            result.emplace(std::move(value));
            ready.notify_all();
        }
        StoreResult<T> wait(const Cancellation& stop)
        {
            std::unique_lock lock(mutex);
            // The stop has no way to wake this wait: it is looked at every few milliseconds.
            while (!result && !stop.cancelled())
                ready.wait_for(lock, std::chrono::milliseconds(10));
            if (result)
                return std::move(*result);
            return StoreError{StoreFailure::InputOutput, StoppedCause()};
        }
    };
    static std::string StoppedCause();

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

    void enqueue(int slot, Work work, LossLine lost = {}) { Enqueue(*queue_, slot, std::move(work), std::move(lost)); }
    static void Enqueue(Queue& queue, int slot, Work work, LossLine lost = {});

    std::shared_ptr<Queue> queue_;
    std::shared_ptr<Cancellation> job_;
};

}  // namespace korvel
