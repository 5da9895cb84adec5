#pragma once

// The tab "店铺监控": the shops in the history with their last run, a chosen shop's changes (with a
// CSV export) and a chosen product's sale price and sold count over all runs, its lowest price
// marked; beside them the followed shops, collected together by "全部采集" (BatchPanel). Everything it
// shows is read off the window's thread, through the window's history connection (StoreWorker).

#include <QObject>
#include <memory>
#include <optional>

#include "store/ChangeRows.h"
#include "store/Store.h"

class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

namespace korvel {

class BatchPanel;
class SaveDialogComponent;
class WindowParts;

// The tab's own controls, found by these names.
namespace monitor_names {
inline constexpr char Shops[] = "店铺监控列表";
inline constexpr char Changes[] = "店铺变化列表";
inline constexpr char Chart[] = "商品走势图";
inline constexpr char Export[] = "导出变化";
inline constexpr char Status[] = "店铺监控状态";
}  // namespace monitor_names

// One row of the shop list.
struct MonitorShop {
    RunSummary lastRun;
    std::size_t changes = 0;
};

class MonitorPage : public QObject {
public:
    // Builds the controls into `page`; the tab reads the history whenever it is shown.
    MonitorPage(WindowParts& window, QWidget* page);
    ~MonitorPage() override;

    void refresh();

private:
    void showShops(const StoreResult<std::vector<MonitorShop>>& shops);
    void selectShop();
    void showChanges(const StoreResult<ChangeReport>& report);
    void selectChange();
    void showSeries(const QString& title, const StoreResult<std::vector<SeriesPoint>>& series);
    void exportChanges();
    void showFailure(const StoreError& error);

    WindowParts& window_;
    QWidget* page_;
    QTableWidget* shops_;
    QTableWidget* changes_;
    QChartView* chart_;
    QPushButton* export_;
    QLabel* status_;
    std::string shownHost_;  // GBK
    std::optional<ChangeReport> report_;
    std::unique_ptr<BatchPanel> batch_;
    std::unique_ptr<SaveDialogComponent> dialog_;
};

// What the tab calls each change kind; a price change reads 涨价 or 降价 by its difference.
QString ChangeKindCaption(const Change& change);

// Sale price and sold count over the runs, the lowest sale price marked; texts that are no numbers
// are left out of the lines.
QChart* SeriesChart(const QString& title, const std::vector<SeriesPoint>& series);

}  // namespace korvel
