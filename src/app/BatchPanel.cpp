#include "app/BatchPanel.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <fstream>
#include <sstream>

#include "app/GbkCodec.h"
#include "app/WindowParts.h"
#include "batch/ShopList.h"
#include "app/StoreWorker.h"

namespace korvel {
namespace {

using batch::BatchStart;

// The shops named in a list's text, or why it is no shop list (UTF-8).
struct ListedHosts {
    std::vector<std::string> hosts;
    std::string error;
};

ListedHosts HostsOfFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file || file.bad())
        return {{}, "无法读取店铺列表：" + path};
    batch::ShopList list = batch::ParseShopList(bytes.str());
    return {std::move(list.hosts), list.error.empty() ? "" : path + ", " + list.error};
}

StoreResult<FollowedState> StateOf(Store& store)
{
    auto hosts = store.followedShops();
    auto unfinished = store.pendingFollowed(WindowBatchId);
    if (!hosts.ok() || !unfinished.ok())
        return hosts.ok() ? unfinished.error() : hosts.error();
    return FollowedState{std::move(hosts.value()), unfinished.value()};
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromUtf8(name));
    return button;
}

}  // namespace

BatchPanel::BatchPanel(WindowParts& window, std::function<void()> ended)
    : window_(window), ended_(std::move(ended)), panel_(new QWidget), followed_(new QListWidget(panel_)),
      host_(new QLineEdit(panel_)),
      collectAll_(Button(panel_, batch_names::CollectAll, QStringLiteral("全部采集"))),
      stop_(Button(panel_, batch_names::Stop, QStringLiteral("停止"))),
      continue_(Button(panel_, batch_names::Continue, QString())), status_(new QLabel(panel_))
{
    followed_->setObjectName(QString::fromUtf8(batch_names::Followed));
    host_->setObjectName(QString::fromUtf8(batch_names::HostField));
    host_->setPlaceholderText(QStringLiteral("shop123.taobao.com"));
    status_->setObjectName(QString::fromUtf8(batch_names::Status));
    status_->setWordWrap(true);
    auto* add = Button(panel_, batch_names::Add, QStringLiteral("添加"));
    auto* addList = Button(panel_, batch_names::AddList, QStringLiteral("导入列表"));
    auto* remove = Button(panel_, batch_names::Remove, QStringLiteral("删除"));
    auto* layout = new QGridLayout(panel_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(followed_, 0, 0, 1, 3);
    layout->addWidget(host_, 1, 0, 1, 3);
    layout->addWidget(add, 2, 0);
    layout->addWidget(addList, 2, 1);
    layout->addWidget(remove, 2, 2);
    layout->addWidget(collectAll_, 3, 0, 1, 2);
    layout->addWidget(stop_, 3, 2);
    layout->addWidget(continue_, 4, 0, 1, 3);
    layout->addWidget(status_, 5, 0, 1, 3);
    // Room for the continue offer's caption with a four-digit count.
    panel_->setMinimumWidth(QFontMetrics(continue_->font()).horizontalAdvance(
                                QStringLiteral("继续未完成的批量采集（剩 0000 家）")) + 24);
    stop_->setEnabled(false);
    continue_->hide();
    connect(add, &QPushButton::clicked, this, [this] { addTyped(); });
    connect(host_, &QLineEdit::returnPressed, this, [this] { addTyped(); });
    connect(addList, &QPushButton::clicked, this, [this] { addListFile(); });
    connect(remove, &QPushButton::clicked, this, [this] { removeChosen(); });
    connect(collectAll_, &QPushButton::clicked, this, [this] { collect(BatchStart::Fresh); });
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (job_)
            job_->cancel();
    });
    connect(continue_, &QPushButton::clicked, this, [this] { collect(BatchStart::Continue); });
    change([](Store&) { return StoreResult<Done>(Done{}); });
}

BatchPanel::~BatchPanel() = default;

// Edits the list off the window's thread, then shows the list and the unfinished batch anew.
void BatchPanel::change(std::function<StoreResult<Done>(Store&)> edit, std::shared_ptr<std::string> fault)
{
    window_.history().edit<FollowedState>(
        [edit = std::move(edit)](Store& store) -> StoreResult<FollowedState> {
            const StoreResult<Done> edited = edit(store);
            return edited.ok() ? StateOf(store) : edited.error();
        },
        [this, fault](const StoreResult<FollowedState>& state) {
            show(state);
            if (fault && !fault->empty())
                status_->setText(QString::fromStdString(*fault));
        });
}

void BatchPanel::addTyped()
{
    const QString typed = host_->text().trimmed();
    const batch::ShopList list = batch::ParseShopList(typed.toStdString());
    if (typed.isEmpty() || !list.error.empty() || list.hosts.size() != 1) {
        status_->setText(QStringLiteral("不是店铺地址：%1（如 shop123.taobao.com）").arg(typed));
        return;
    }
    host_->clear();
    change([hosts = list.hosts](Store& store) { return store.follow(hosts); });
}

void BatchPanel::addListFile()
{
    const QString path = QFileDialog::getOpenFileName(&window_.widget(), QStringLiteral("导入店铺列表"), QString(),
                                                      QStringLiteral("店铺列表 (*.txt);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    auto fault = std::make_shared<std::string>();
    change(
        [file = path.toStdString(), fault](Store& store) -> StoreResult<Done> {
            const ListedHosts listed = HostsOfFile(file);
            *fault = listed.error;
            return listed.error.empty() ? store.follow(listed.hosts) : StoreResult<Done>(Done{});
        },
        fault);
}

void BatchPanel::removeChosen()
{
    const QListWidgetItem* chosen = followed_->currentItem();
    if (!chosen)
        return;
    change([host = chosen->text().toStdString()](Store& store) { return store.unfollow(host); });
}

void BatchPanel::collect(BatchStart start)
{
    if (job_)
        return;
    if (followed_->count() == 0) {
        status_->setText(QStringLiteral("请先添加店铺"));
        return;
    }
    job_ = StartBatchJob(window_.jobs(), window_.history(), start,
                         BatchJobEvents{[this](const QString& text) { status_->setText(text); },
                                        [this](const QString& text) { finish(text); }});
    showRunning();
}

void BatchPanel::finish(const QString& text)
{
    job_.reset();
    status_->setText(text);
    showRunning();
    change([](Store&) { return StoreResult<Done>(Done{}); });
    ended_();
}

void BatchPanel::show(const StoreResult<FollowedState>& state)
{
    if (!state.ok()) {
        status_->setText(FromGbk(state.error().cause));
        return;
    }
    followed_->clear();
    for (const std::string& host : state.value().hosts)
        followed_->addItem(QString::fromStdString(host));
    unfinished_ = state.value().unfinished;
    showRunning();
}

void BatchPanel::showRunning()
{
    collectAll_->setEnabled(!job_);
    stop_->setEnabled(job_ != nullptr);
    const bool offer = !job_ && unfinished_ > 0;
    continue_->setText(offer ? QStringLiteral("继续未完成的批量采集（剩 %1 家）").arg(unfinished_) : QString());
    continue_->setVisible(offer);
}

}  // namespace korvel
