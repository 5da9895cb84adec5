#pragma once

// The start button's collection as the window runs it: a job off the window's thread whose events
// are posted to the window without blocking the job, and turned here into the window's texts, its
// list and its closing box.
//
// The job reads the address and the markers from a snapshot the fields keep current, so edits made
// during a run count from the next page on. Products arrive a page at a time and are handed to the
// list; the list announces its new rows and 标签1 takes its newest caption at most every 50 ms, so
// the window never repaints per product.

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/Throttle.h"
#include "collect/CollectionJob.h"
#include "session/KeptSession.h"

class QLabel;
class QPushButton;

namespace korvel {

class MainWindow;

// The five fields the run reads, copied under a lock whenever one changes.
class WindowInputs : public CollectionSettingsSource {
public:
    // Kept current while `owner` lives.
    WindowInputs(MainWindow& window, QObject* owner);
    CollectionInputs current() const override;

private:
    void refresh();

    MainWindow& window_;
    mutable std::mutex mutex_;
    CollectionInputs inputs_;
};

class WindowCollection : public QObject, public CollectionObserver {
public:
    explicit WindowCollection(MainWindow& window);
    // Cancels a running job and waits for it: the cancellation ends its requests at once.
    ~WindowCollection() override;

    void start();
    bool running() const { return job_ != nullptr; }
    // The window is closing: the job ends now and nothing more is shown.
    void stop();

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
    // CollectionObserver, called on the job's thread: each event is posted to the window.
    void pageCountRead(int shown) override;
    void listingStarted() override;
    void productsFound(std::vector<Product> products) override;
    void finished(const CollectionRun& run) override;

    void post(std::function<void()> event);
    void deliver(std::function<void()> event);
    void release();
    void showFinished(const CollectionRun& run, const std::string& historyNote);
    void setTotal(const std::string& caption);
    void present();

    MainWindow& window_;
    QPushButton* startButton_;
    QLabel* totalLabel_;
    QLabel* pageCountLabel_;
    WindowInputs inputs_;
    std::string totalCaption_;
    Throttle totalLabelUpdate_;
    int holds_ = 0;
    std::vector<std::function<void()>> held_;
    std::unique_ptr<KeptSession> session_;  // the kept marketplace session the run carries; outlives it
    std::unique_ptr<CollectionJob> job_;
};

}  // namespace korvel
