#pragma once

// The start button's collection as the window runs it: a job off the window's thread (JobRunner)
// whose events are posted to the window without blocking the job, and turned here into the
// window's texts, its list and its closing box. When the run has ended and the window shows its
// end, the run is recorded in the history through the window's one store connection: the end of a
// run never waits for the store.
//
// The job reads the address and the markers from a snapshot the fields keep current, so edits made
// during a run count from the next page on. Products arrive a page at a time as the run's own
// slices and are handed to the list; the list announces its new rows and 标签1 takes its newest
// caption at most every 50 ms, so the window never repaints per product.

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/Throttle.h"
#include "collect/CollectionObserver.h"

class QLabel;
class QPushButton;

namespace korvel {

class Cancellation;
class WindowParts;

// The five fields the run reads, copied under a lock whenever one changes.
class WindowInputs : public CollectionSettingsSource {
public:
    // Kept current while `owner` lives.
    WindowInputs(WindowParts& window, QObject* owner);
    CollectionInputs current() const override;

private:
    void refresh();

    WindowParts& window_;
    mutable std::mutex mutex_;
    CollectionInputs inputs_;
};

class WindowCollection : public QObject {
public:
    explicit WindowCollection(WindowParts& window);
    ~WindowCollection() override;

    // The start button: a collection of the shop in the fields.
    void start();
    // What a collection reports, from `collect` run as the start button's job, reaches the window
    // and the history as a collection's does (the window's benchmark feeds it its own products).
    using Collect = std::function<void(CollectionObserver& observer, Cancellation& cancellation)>;
    void start(Collect collect);
    bool running() const { return running_; }

    // While an export's dialog and box are up the list and the labels stand still, as they did
    // when the run waited for the window: the job's events wait until the export is done.
    class Hold {
    public:
        explicit Hold(WindowCollection& collection);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        WindowCollection& collection_;
    };

private:
    class Events;

    void deliver(std::function<void()> event);
    void release();
    void listingStarted();
    void productsFound(const ProductSlice& products);
    void showFinished(const CollectionRun& run);
    void record(const CollectionRun& run);
    void setTotal(const std::string& caption);
    void present();

    WindowParts& window_;
    QPushButton* startButton_;
    QLabel* totalLabel_;
    QLabel* pageCountLabel_;
    std::shared_ptr<WindowInputs> inputs_;
    std::string totalCaption_;
    Throttle totalLabelUpdate_;
    int holds_ = 0;
    std::vector<std::function<void()>> held_;
    bool running_ = false;
};

}  // namespace korvel
