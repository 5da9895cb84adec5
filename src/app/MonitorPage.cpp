#include "app/MonitorPage.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "app/BatchPanel.h"
#include "app/GbkCodec.h"
#include "app/WindowParts.h"
#include "words/ExportTexts.h"
#include "app/SaveDialogComponent.h"
#include "export/Exports.h"
#include "export/FileWriting.h"
#include "app/StoreWorker.h"

namespace korvel {
namespace {

enum Slot { ShopsSlot, ChangesSlot, SeriesSlot };

constexpr char ChangesDone[] = "导出成功，变化总数为：";

QTableWidget* Table(QWidget* page, const char* name, const QStringList& titles)
{
    auto* table = new QTableWidget(0, int(titles.size()), page);
    table->setObjectName(QString::fromUtf8(name));
    table->setHorizontalHeaderLabels(titles);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& cells)
{
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
}

QString Outcome(RunEnd end)
{
    switch (end) {
    case RunEnd::Complete: return QStringLiteral("完整");
    case RunEnd::Incomplete: return QStringLiteral("缺页");
    case RunEnd::Failed: return QStringLiteral("失败");
    case RunEnd::Interrupted: return QStringLiteral("中断");
    }
    return {};
}

QString When(std::chrono::system_clock::time_point at)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString Shown(const std::optional<std::string>& gbk)
{
    return gbk ? FromGbk(*gbk) : QString();
}

// The shop list's reading: each shop's last run and how many changes it brought.
StoreResult<std::vector<MonitorShop>> ReadShops(Store& history)
{
    const auto hosts = history.shops();
    if (!hosts.ok())
        return hosts.error();
    std::vector<MonitorShop> shops;
    for (const std::string& host : hosts.value()) {
        const auto runs = history.runs(host);
        const auto report = history.changes(host);
        if (!runs.ok() || !report.ok())
            return runs.ok() ? report.error() : runs.error();
        if (!runs.value().empty())
            shops.push_back({runs.value().back(), report.value().changes.size()});
    }
    return shops;
}

}  // namespace

MonitorPage::MonitorPage(WindowParts& window, QWidget* page)
    : QObject(page), window_(window), page_(page),
      shops_(Table(page, monitor_names::Shops,
                   {QStringLiteral("店铺"), QStringLiteral("最近采集"), QStringLiteral("结果"),
                    QStringLiteral("商品数"), QStringLiteral("变化数")})),
      changes_(Table(page, monitor_names::Changes,
                     {QStringLiteral("变化"), QStringLiteral("商品ID"), QStringLiteral("之前"),
                      QStringLiteral("之后"), QStringLiteral("差额"), QStringLiteral("百分比"),
                      QStringLiteral("标题")})),
      chart_(new QChartView(page)), export_(new QPushButton(QStringLiteral("导出变化"), page)),
      status_(new QLabel(page)),
      batch_(std::make_unique<BatchPanel>(window, [this] { refresh(); }))
{
    chart_->setObjectName(QString::fromUtf8(monitor_names::Chart));
    chart_->setRenderHint(QPainter::Antialiasing);
    export_->setObjectName(QString::fromUtf8(monitor_names::Export));
    export_->setEnabled(false);
    status_->setObjectName(QString::fromUtf8(monitor_names::Status));
    auto* layout = new QGridLayout(page);
    layout->addWidget(shops_, 0, 0);
    layout->addWidget(changes_, 1, 0, 2, 1);
    layout->addWidget(chart_, 0, 1, 2, 1);
    layout->addWidget(export_, 2, 1, Qt::AlignRight);
    layout->addWidget(status_, 3, 0, 1, 2);
    layout->addWidget(batch_->widget(), 0, 2, 4, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 1);
    connect(shops_, &QTableWidget::itemSelectionChanged, this, [this] { selectShop(); });
    connect(changes_, &QTableWidget::itemSelectionChanged, this, [this] { selectChange(); });
    connect(export_, &QPushButton::clicked, this, [this] { exportChanges(); });
    connect(window.tabs(), &QTabWidget::currentChanged, this, [this](int) {
        if (window_.tabs()->currentWidget() == page_)
            refresh();
    });
}

MonitorPage::~MonitorPage() = default;

void MonitorPage::refresh()
{
    window_.history().read<std::vector<MonitorShop>>(ShopsSlot, ReadShops,
                                                     [this](const auto& shops) { showShops(shops); });
}

void MonitorPage::showFailure(const StoreError& error)
{
    status_->setText(FromGbk(error.cause));
}

void MonitorPage::showShops(const StoreResult<std::vector<MonitorShop>>& shops)
{
    if (!shops.ok())
        return showFailure(shops.error());
    status_->clear();
    const QSignalBlocker quiet(shops_);
    shops_->setRowCount(int(shops.value().size()));
    int row = 0;
    for (const MonitorShop& shop : shops.value()) {
        const RunSummary& run = shop.lastRun;
        SetRow(shops_, row++, {FromGbk(run.shopHost), When(run.started), Outcome(run.end),
                               QString::number(run.productCount), QString::number(shop.changes)});
    }
}

void MonitorPage::selectShop()
{
    const int row = shops_->currentRow();
    if (row < 0)
        return;
    const std::string host = ToGbk(shops_->item(row, 0)->text());
    window_.history().read<ChangeReport>(ChangesSlot, [host](Store& history) { return history.changes(host); },
                                         [this](const auto& report) { showChanges(report); });
}

void MonitorPage::showChanges(const StoreResult<ChangeReport>& report)
{
    if (!report.ok())
        return showFailure(report.error());
    report_ = report.value();
    const QSignalBlocker quiet(changes_);
    changes_->setRowCount(int(report_->changes.size()));
    int row = 0;
    for (const Change& change : report_->changes) {
        SetRow(changes_, row++, {ChangeKindCaption(change), FromGbk(change.id), Shown(change.before),
                                 Shown(change.after), Shown(change.delta), Shown(change.percent),
                                 FromGbk(change.title)});
    }
    export_->setEnabled(!report_->changes.empty());
}

void MonitorPage::selectChange()
{
    const int row = changes_->currentRow();
    if (!report_ || row < 0 || size_t(row) >= report_->changes.size())
        return;
    const Change& change = report_->changes[size_t(row)];
    const std::string host = report_->after.shopHost;
    const std::string id = change.id;
    const QString title = FromGbk(change.title);
    window_.history().read<std::vector<SeriesPoint>>(
        SeriesSlot, [host, id](Store& history) { return history.series(host, id); },
        [this, title](const auto& series) { showSeries(title, series); });
}

void MonitorPage::showSeries(const QString& title, const StoreResult<std::vector<SeriesPoint>>& series)
{
    if (!series.ok())
        return showFailure(series.error());
    QChart* previous = chart_->chart();
    chart_->setChart(SeriesChart(title, series.value()));
    delete previous;
}

void MonitorPage::exportChanges()
{
    if (!report_)
        return;
    // A dialog of its own: it proposes the file last chosen here, never an export of the list's.
    if (!dialog_)
        dialog_ = std::make_unique<SaveDialogComponent>(&window_.widget());
    dialog_->setFilter("CSV (*.csv)|*.csv");
    dialog_->setDefaultExtension("csv");
    if (!dialog_->show())
        return;
    const std::vector<ChangeRow> rows = ChangeRows(*report_);
    const ExportResult result = WriteExportTo(dialog_->fileName(), ChangesCsv(rows));
    if (result.written())
        window_.showMessage(export_words::Done(ChangesDone, static_cast<int>(rows.size())),
                            Utf8ToGbk(export_words::DoneTitle));
    else
        window_.showMessage(export_words::CannotWriteWithCause(result.path, result.cause),
                            Utf8ToGbk(export_words::WriteFailedTitle));
}

}  // namespace korvel
