#include "app/JobRunner.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "text/Encoding.h"

namespace korvel {

// What the jobs and the runner share; it outlives the runner while an abandoned job runs.
struct JobRunner::Shared {
    std::mutex mutex;
    bool closing = false;
    QObject* receiver = nullptr;  // the runner, until it closes

    void post(std::function<void()> toWindow)
    {
        std::lock_guard lock(mutex);
        if (closing)
            return;
        // Destroying the receiver drops what is still queued for it, unrun.
        auto self = this;
        QMetaObject::invokeMethod(
            receiver,
            [self, toWindow = std::move(toWindow)] {
                if (!self->isClosing())
                    toWindow();
            },
            Qt::QueuedConnection);
    }

    bool isClosing()
    {
        std::lock_guard lock(mutex);
        return closing;
    }
};

struct JobRunner::Running : JobRunner::Context {
    std::string name;
    std::shared_ptr<JobRunner::Shared> shared;
    std::shared_ptr<Cancellation> cancel = std::make_shared<Cancellation>();
    std::mutex mutex;
    std::condition_variable endedChanged;
    bool ended = false;
    std::thread thread;

    Cancellation& cancellation() override { return *cancel; }
    void post(std::function<void()> toWindow) override { shared->post(std::move(toWindow)); }
    void say(std::function<void()> onWindow, const std::string& gbkLine) override
    {
        if (!shared->isClosing()) {
            if (onWindow)
                shared->post(std::move(onWindow));
            return;
        }
        const Bytes utf8 = GbkToUtf8(gbkLine);
        std::fprintf(stderr, "korvel: %s\n", utf8.c_str());
    }

    bool waitUntil(std::chrono::steady_clock::time_point deadline)
    {
        std::unique_lock lock(mutex);
        return endedChanged.wait_until(lock, deadline, [this] { return ended; });
    }
};

JobRunner::JobRunner(QObject* parent) : QObject(parent), shared_(std::make_shared<Shared>())
{
    shared_->receiver = this;
}

JobRunner::~JobRunner()
{
    close(std::chrono::milliseconds(800));
}

std::shared_ptr<Cancellation> JobRunner::start(std::string name, std::function<void(Context&)> work)
{
    reapEnded();
    auto job = std::make_shared<Running>();
    job->name = std::move(name);
    job->shared = shared_;
    if (shared_->isClosing())
        job->cancel->cancel();
    // The thread holds the job: an abandoned job keeps what it uses until it ends.
    job->thread = std::thread([job, work = std::move(work)] {
        work(*job);
        std::lock_guard lock(job->mutex);
        job->ended = true;
        job->endedChanged.notify_all();
    });
    running_.push_back(job);
    return job->cancel;
}

void JobRunner::post(std::function<void()> toWindow)
{
    shared_->post(std::move(toWindow));
}

bool JobRunner::closing() const
{
    return shared_->isClosing();
}

void JobRunner::reapEnded()
{
    for (auto job = running_.begin(); job != running_.end();) {
        bool ended = false;
        {
            std::lock_guard lock((*job)->mutex);
            ended = (*job)->ended;
        }
        if (!ended) {
            ++job;
            continue;
        }
        (*job)->thread.join();
        job = running_.erase(job);
    }
}

std::vector<std::string> JobRunner::close(std::chrono::milliseconds budget)
{
    {
        std::lock_guard lock(shared_->mutex);
        shared_->closing = true;
    }
    for (const auto& job : running_)
        job->cancel->cancel();
    const auto deadline = std::chrono::steady_clock::now() + budget;
    std::vector<std::string> abandoned;
    for (const auto& job : running_) {
        if (job->waitUntil(deadline)) {
            job->thread.join();
            continue;
        }
        job->thread.detach();
        abandoned.push_back(job->name);
    }
    running_.clear();
    return abandoned;
}

}  // namespace korvel
