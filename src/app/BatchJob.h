#pragma once

// "全部采集" as the window runs it: the followed shops collected as one batch off the window's
// thread, with korvel-collect --batch's pace and rules, its progress kept in the store so that a
// stop, a closed window or a crash leaves the rest to be continued. Its events reach the window
// as texts posted by its job; it never waits for the window.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include <QString>

#include "app/JobRunner.h"
#include "store/BatchShops.h"

namespace korvel {

class StoreWorker;

// The window's one batch, whatever shops it follows at the time.
inline constexpr char WindowBatchId[] = "window";
inline constexpr std::chrono::milliseconds WindowBatchDelay{1000};

struct BatchJobEvents {
    std::function<void(const QString&)> progress;  // which shop and page it is on
    std::function<void(const QString&)> ended;     // how the batch ended
};

// Starts the batch as one of the window's jobs, recording through the window's one history
// connection; `start` continues the unfinished batch or begins it over. Cancelling the returned
// cancellation stops it (its requests and its store waits end at once, its progress kept).
std::shared_ptr<Cancellation> StartBatchJob(JobRunner& jobs, const StoreWorker& history, batch::BatchStart start,
                                            BatchJobEvents events);

}  // namespace korvel
