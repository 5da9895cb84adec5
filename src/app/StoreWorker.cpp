#include "app/StoreWorker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "text/Gbk.h"

namespace korvel {

struct StoreWorker::Queue {
    struct Request {
        int slot = NoSlot;
        unsigned ticket = 0;
        Work work;
        LossLine lost;
    };

    const std::string location;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Request> waiting;
    std::vector<unsigned> tickets;  // the newest request's of each slot
    bool stopped = false;
    std::unique_ptr<Store> store;  // opened by the job at its first request

    explicit Queue(std::string where) : location(std::move(where)) {}

    bool newest(int slot, unsigned ticket)
    {
        std::lock_guard lock(mutex);
        return slot == NoSlot || tickets[size_t(slot)] == ticket;
    }

    static void Stop(void* self)
    {
        auto* queue = static_cast<Queue*>(self);
        std::lock_guard lock(queue->mutex);
        queue->stopped = true;
        if (queue->store)
            queue->store->interrupt();
        queue->changed.notify_all();
    }

    std::optional<Request> next()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return stopped || !waiting.empty(); });
        if (stopped)
            return std::nullopt;
        Request request = std::move(waiting.front());
        waiting.pop_front();
        return request;
    }

    StoreResult<Store*> opened(const Cancellation& cancel)
    {
        if (store)
            return store.get();
        auto fresh = OpenStore(location, KORVEL_VERSION, &cancel);
        if (!fresh.ok())
            return fresh.error();
        std::lock_guard lock(mutex);
        store = std::move(fresh.value());
        if (stopped)
            store->interrupt();
        return store.get();
    }

    void serve(JobRunner::Context& context, const std::shared_ptr<Queue>& self)
    {
        Cancellation& cancel = context.cancellation();
        cancel.attach(&Queue::Stop, this);
        if (cancel.cancelled())
            Stop(this);
        while (std::optional<Request> request = next()) {
            Answer answer = request->work(opened(cancel));
            if (!answer.show && answer.loss.empty())
                continue;  // a call, whose caller has its result already
            auto show = [self, slot = request->slot, ticket = request->ticket, show = std::move(answer.show)] {
                if (self->newest(slot, ticket))
                    show();
            };
            if (answer.loss.empty())
                context.post(std::move(show));
            else
                context.say(std::move(show), answer.loss);
        }
        cancel.detach(this);
        sayUnmade(context);
    }

    // The changes still waiting when the window closed.
    void sayUnmade(JobRunner::Context& context)
    {
        std::lock_guard lock(mutex);
        const StoreError closed{StoreFailure::InputOutput, gbk::FromUtf8("窗口关闭时尚未写入")};
        for (const Request& request : waiting) {
            if (request.lost)
                context.say({}, request.lost(closed));
        }
        waiting.clear();
    }
};

StoreWorker::StoreWorker(JobRunner& jobs, std::string location)
    : queue_(std::make_shared<Queue>(std::move(location)))
{
    job_ = jobs.start("history reads", [queue = queue_](JobRunner::Context& context) { queue->serve(context, queue); });
}

StoreWorker::~StoreWorker()
{
    job_->cancel();
}

std::string StoreWorker::StoppedCause()
{
    return gbk::FromUtf8("已停止");
}

const std::string& StoreWorker::location() const
{
    return queue_->location;
}

void StoreWorker::Enqueue(Queue& queue, int slot, Work work, LossLine lost)
{
    std::lock_guard lock(queue.mutex);
    unsigned ticket = 0;
    if (slot != NoSlot) {
        if (queue.tickets.size() <= size_t(slot))
            queue.tickets.resize(size_t(slot) + 1);
        ticket = ++queue.tickets[size_t(slot)];
        std::erase_if(queue.waiting, [slot](const Queue::Request& waiting) { return waiting.slot == slot; });
    }
    queue.waiting.push_back({slot, ticket, std::move(work), std::move(lost)});
    queue.changed.notify_all();
}

}  // namespace korvel
