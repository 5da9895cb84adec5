#pragma once

// The window's one way to work off its thread. Each job runs on a thread the runner owns, with a
// cancellation of its own, and reaches the window only by post(): queued for the window's thread,
// never waited for, dropped once the window is closing. A job owns whatever it uses (shared_ptr),
// so that one that cannot end in time at closing can be left to finish by itself.

#include <QObject>
#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/Cancellation.h"

namespace korvel {

class JobRunner : public QObject {
public:
    // What a running job sees of the runner.
    class Context {
    public:
        virtual ~Context() = default;
        virtual Cancellation& cancellation() = 0;
        // Runs `toWindow` on the window's thread unless the window is closing by then.
        virtual void post(std::function<void()> toWindow) = 0;
        // Tells the user a loss: on the window while it is open, else on stderr (GBK text).
        virtual void say(std::function<void()> onWindow, const std::string& gbkLine) = 0;
    };

    explicit JobRunner(QObject* parent = nullptr);
    // Closes with the default budget when the owner has not.
    ~JobRunner() override;
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Starts `work` on a thread of its own; `name` says what it is when it must be abandoned.
    // Returns the job's cancellation, valid until the job has ended.
    std::shared_ptr<Cancellation> start(std::string name, std::function<void(Context&)> work);

    // Any thread; returns at once.
    void post(std::function<void()> toWindow);

    // The window is closing: nothing posted runs any more, every job is cancelled and waited for
    // at most `budget` in all. A job still running then is left to end by itself; the names of
    // those are returned, for the window to say.
    std::vector<std::string> close(std::chrono::milliseconds budget);
    bool closing() const;

private:
    struct Shared;
    struct Running;
    void reapEnded();

    std::shared_ptr<Shared> shared_;
    std::list<std::shared_ptr<Running>> running_;
};

}  // namespace korvel
