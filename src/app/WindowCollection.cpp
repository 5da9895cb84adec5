#include "app/WindowCollection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/ControlText.h"
#include "app/GbkCodec.h"
#include "app/MainWindow.h"
#include "app/MonitorRecording.h"
#include "app/ProductTableModel.h"
#include "words/RunTexts.h"

namespace korvel {
namespace {

constexpr int kLabelIntervalMs = 50;

constexpr const char* kInputFields[] = {names::ShopAddress, names::ItemAreaStart, names::ItemAreaEnd,
                                        names::TmallQueryStart, names::TmallQueryEnd};

}  // namespace

WindowInputs::WindowInputs(MainWindow& window, QObject* owner) : window_(window)
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

WindowCollection::WindowCollection(MainWindow& window)
    : window_(window),
      startButton_(window.control<QPushButton>(names::StartButton)),
      totalLabel_(window.control<QLabel>(names::TotalLabel)),
      pageCountLabel_(window.control<QLabel>(names::PageCountLabel)),
      inputs_(window, this),
      totalLabelUpdate_(kLabelIntervalMs, [this] { totalLabel_->setText(FromGbk(totalCaption_)); })
{
}

WindowCollection::~WindowCollection()
{
    stop();
}

void WindowCollection::start()
{
    if (job_)
        return;
    startButton_->setText(QStringLiteral("正在采集请稍等..."));
    startButton_->setEnabled(false);
    session_ = KeptSessionFromStore();
    FetchPolicy policy;
    policy.session = session_.get();
    job_ = std::make_unique<CollectionJob>(inputs_, *this, policy);
}

void WindowCollection::stop()
{
    job_.reset();
}

void WindowCollection::post(std::function<void()> event)
{
    // Queued, never blocking: the job goes on while the window catches up. Events still queued
    // when this object is gone are dropped with it.
    QMetaObject::invokeMethod(
        this, [this, event = std::move(event)]() mutable { deliver(std::move(event)); }, Qt::QueuedConnection);
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

void WindowCollection::pageCountRead(int shown)
{
    post([this, shown] { SetControlText(pageCountLabel_, PageCountCaption(shown)); });
}

void WindowCollection::listingStarted()
{
    post([this] { window_.productList().clear(); });
}

void WindowCollection::productsFound(std::vector<Product> products)
{
    post([this, products = std::move(products)]() mutable {
        ProductTableModel& list = window_.productList();
        list.append(std::move(products));
        setTotal(ProgressCaption(list.rows()));
    });
}

void WindowCollection::finished(const CollectionRun& run)
{
    // Recorded on the job's thread: the window never waits for the history's file.
    std::string historyNote = RecordFinishedRun(run);
    post([this, run, historyNote = std::move(historyNote)] { showFinished(run, historyNote); });
}

void WindowCollection::showFinished(const CollectionRun& run, const std::string& historyNote)
{
    job_.reset();
    if (run.end == RunEnd::Complete || run.end == RunEnd::Incomplete)
        setTotal(TotalCaption(run.productCount));
    startButton_->setText(QStringLiteral("开始采集"));
    startButton_->setEnabled(true);
    present();
    if (run.end == RunEnd::Interrupted)
        return;
    const RunMessage message = ClosingMessage(run);
    window_.showMessage(historyNote.empty() ? message.message : message.message + "\n" + historyNote, message.title);
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
