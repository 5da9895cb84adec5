#pragma once

// "全部采集" as the window runs it: the followed shops collected as one batch off the window's
// thread, with korvel-collect --batch's pace and rules, its progress kept in the store so that a
// stop, a closed window or a crash leaves the rest to be continued. Its events reach the window
// through the bridge, as texts; it never waits for the window.

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include <QString>

#include "base/Cancellation.h"
#include "batch/BatchLedger.h"

namespace korvel {

class UiBridge;

// The window's one batch, whatever shops it follows at the time.
inline constexpr char WindowBatchId[] = "window";
inline constexpr std::chrono::milliseconds WindowBatchDelay{1000};

struct BatchJobEvents {
    std::function<void(const QString&)> progress;  // which shop and page it is on
    std::function<void(const QString&)> ended;     // how the batch ended
};

class BatchJob {
public:
    // Starts at once; `start` continues the unfinished batch or begins it over.
    BatchJob(UiBridge& bridge, std::string storePath, batch::BatchStart start, BatchJobEvents events);
    // Stops the batch and waits for it: its requests end at once.
    ~BatchJob();
    BatchJob(const BatchJob&) = delete;
    BatchJob& operator=(const BatchJob&) = delete;

    void stop() { stop_.cancel(); }

private:
    void run(const std::string& storePath, batch::BatchStart start);

    UiBridge& bridge_;
    BatchJobEvents events_;
    Cancellation stop_;
    std::thread thread_;
};

}  // namespace korvel
