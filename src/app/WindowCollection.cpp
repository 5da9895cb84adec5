#include "app/WindowCollection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/ControlText.h"
#include "app/GbkCodec.h"
#include "app/WindowParts.h"
#include "app/StoreWorker.h"
#include "collect/RunCollection.h"
#include "session/KeptSession.h"
#include "app/ProductTableModel.h"
#include "words/RunTexts.h"

namespace korvel {
namespace {

constexpr int kLabelIntervalMs = 50;

constexpr const char* kInputFields[] = {names::ShopAddress, names::ItemAreaStart, names::ItemAreaEnd,
                                        names::TmallQueryStart, names::TmallQueryEnd};

}  // namespace

WindowInputs::WindowInputs(WindowParts& window, QObject* owner) : window_(window)
{
    for (const char* name : kInputFields) {
        QWidget* field = window.control(name);
        if (auto* line = qobject_cast<QLineEdit*>(field))
            QObject::connect(line, &QLineEdit::textChanged, owner, [this] { refresh(); });
        if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
            QObject::connect(plain, &QPlainTextEdit::textChanged, owner, [this] { refresh(); });
    }
    refresh();
}

CollectionInputs WindowInputs::current() const
{
    std::lock_guard lock(mutex_);
    return inputs_;
}

void WindowInputs::refresh()
{
    const auto text = [this](const char* name) { return ControlText(window_.control(name)); };
    CollectionInputs now{text(names::ShopAddress),
                         {text(names::ItemAreaStart), text(names::ItemAreaEnd), text(names::TmallQueryStart),
                          text(names::TmallQueryEnd)}};
    std::lock_guard lock(mutex_);
    inputs_ = std::move(now);
}

// The run's events, on the job's thread, posted on to the window's: the job never waits for it.
class WindowCollection::Events : public CollectionObserver {
public:
    Events(WindowCollection& collection, JobRunner::Context& job) : collection_(collection), job_(job) {}

    void pageCountRead(int shown) override
    {
        post([&collection = collection_, shown] {
            SetControlText(collection.pageCountLabel_, PageCountCaption(shown));
        });
    }
    void listingStarted() override
    {
        post([&collection = collection_] { collection.listingStarted(); });
    }
    void productsFound(const ProductSlice& products) override
    {
        post([&collection = collection_, products] { collection.productsFound(products); });
    }
    void finished(const CollectionRun& run) override
    {
        // The write is queued first: the box showing the end waits for the user, the history not.
        post([&collection = collection_, run] {
            collection.record(run);
            collection.showFinished(run);
        });
    }

private:
    void post(std::function<void()> event)
    {
        job_.post([&collection = collection_, event = std::move(event)]() mutable {
            collection.deliver(std::move(event));
        });
    }

    WindowCollection& collection_;
    JobRunner::Context& job_;
};

WindowCollection::WindowCollection(WindowParts& window)
    : window_(window),
      startButton_(window.control<QPushButton>(names::StartButton)),
      totalLabel_(window.control<QLabel>(names::TotalLabel)),
      pageCountLabel_(window.control<QLabel>(names::PageCountLabel)),
      inputs_(std::make_shared<WindowInputs>(window, this)),
      totalLabelUpdate_(kLabelIntervalMs, [this] { totalLabel_->setText(FromGbk(totalCaption_)); })
{
}

WindowCollection::~WindowCollection() = default;

void WindowCollection::start()
{
    // The job owns what it reads, so that a window closing under it frees nothing it still uses.
    std::shared_ptr<KeptSession> session = KeptSessionFromStore();
    start([inputs = inputs_, session](CollectionObserver& observer, Cancellation& cancellation) {
        FetchPolicy policy;
        policy.session = session.get();
        RunCollection(*inputs, observer, cancellation, policy);
    });
}

void WindowCollection::start(Collect collect)
{
    if (running_)
        return;
    running_ = true;
    startButton_->setText(QStringLiteral("正在采集请稍等..."));
    startButton_->setEnabled(false);
    window_.jobs().start("店铺采集", [this, collect = std::move(collect)](JobRunner::Context& job) {
        Events events(*this, job);
        collect(events, job.cancellation());
    });
}

void WindowCollection::deliver(std::function<void()> event)
{
    if (holds_ > 0)
        held_.push_back(std::move(event));
    else
        event();
}

WindowCollection::Hold::Hold(WindowCollection& collection) : collection_(collection)
{
    ++collection_.holds_;
}

WindowCollection::Hold::~Hold()
{
    collection_.release();
}

void WindowCollection::release()
{
    if (--holds_ > 0)
        return;
    // An event may open a box, whose loop may deliver further events: they queue behind these.
    ++holds_;
    for (size_t next = 0; next < held_.size(); ++next)
        std::exchange(held_[next], nullptr)();
    held_.clear();
    --holds_;
}

void WindowCollection::listingStarted()
{
    window_.productList().clear();
}

void WindowCollection::productsFound(const ProductSlice& products)
{
    ProductTableModel& list = window_.productList();
    list.append(products);
    setTotal(ProgressCaption(list.rows()));
}

void WindowCollection::showFinished(const CollectionRun& run)
{
    running_ = false;
    if (run.end == RunEnd::Complete || run.end == RunEnd::Incomplete)
        setTotal(TotalCaption(run.productCount));
    startButton_->setText(QStringLiteral("开始采集"));
    startButton_->setEnabled(true);
    present();
    if (run.end == RunEnd::Interrupted)
        return;
    const RunMessage message = ClosingMessage(run);
    window_.showMessage(message.message, message.title);
}

// Queued behind the window's other history work, never waited for; a failure is its own box (or,
// once the window has closed, a line on stderr).
void WindowCollection::record(const CollectionRun& run)
{
    window_.history().edit<std::int64_t>(
        [run](Store& store) { return store.record(run); },
        [this](const StoreResult<std::int64_t>& recorded) {
            if (!recorded.ok())
                window_.showMessage(HistoryNotSavedLine(recorded.error()));
        },
        [](const StoreError& error) { return HistoryNotSavedLine(error); });
}

void WindowCollection::setTotal(const std::string& caption)
{
    totalCaption_ = caption;
    totalLabelUpdate_.poke();
}

void WindowCollection::present()
{
    totalLabelUpdate_.flush();
    window_.productList().flush();
}

}  // namespace korvel
