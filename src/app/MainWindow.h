#pragma once

// The main window: the tab control 高级选择夹1 with its five pages and every control on them,
// made before any handler runs. Other code finds a control by its own name, as ControlNames.h lists
// them (control<QLabel>(names::MemberStatusLabel)), reads and writes texts as GBK (ControlText.h), shows
// message boxes through showMessage() and runs every background task through jobs(), whose jobs
// reach the window only through post(…). The history is read and written through history(), one
// connection for the whole window.

#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "app/AppConstants.h"
#include "app/ControlNames.h"
#include "app/JobRunner.h"

class QAction;
class QMenu;
class QTabWidget;

namespace korvel {

class GbkTableModel;
class MonitorPage;
class ProductTableModel;
class SaveDialogComponent;
class StoreWorker;
class WindowCollection;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    const AppConstants& constants() const { return constants_; }

    template <class T = QWidget>
    T* control(std::string_view name) const
    {
        return findChild<T*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    QTabWidget* tabs() const { return tabs_; }

    ProductTableModel& productList() const { return *products_; }     // 超级列表框1
    GbkTableModel& memberList() const { return *members_; }           // 超级列表框2
    SaveDialogComponent& saveDialog() const { return *saveDialog_; }  // 通用对话框1

    // The popup menu "菜单" of the member list and its single item "导出". Never a menu bar.
    QMenu& memberMenu() const { return *memberMenu_; }
    QAction& memberExportAction() const { return *memberExport_; }

    // A modal box with the message, the title ("信息：" when empty) and one OK button, no icon.
    // Shows nothing once the window is closing.
    void showMessage(const std::string& gbkMessage, const std::string& gbkTitle = {});
    // The same with the error icon, for the one message that carries it.
    void showError(const std::string& gbkMessage, const std::string& gbkTitle = {});

    JobRunner& jobs() { return jobs_; }
    StoreWorker& history() { return *history_; }
    bool closing() const { return jobs_.closing(); }
    bool collecting() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Every job ends, or is left to end by itself and named on stderr, within the budget.
    void endJobs();

private:
    void buildPages();
    void buildMemberMenu();
    void onCreated();
    void wirePages();
    void wireShopCollectionPage();
    void runCollection();
    void exportProductIds();
    void exportAllInformation();

    // First: destroyed last, after everything its jobs post to.
    JobRunner jobs_;
    AppConstants constants_;
    std::unique_ptr<StoreWorker> history_;
    QTabWidget* tabs_ = nullptr;
    ProductTableModel* products_ = nullptr;
    GbkTableModel* members_ = nullptr;
    std::unique_ptr<SaveDialogComponent> saveDialog_;
    QMenu* memberMenu_ = nullptr;
    QAction* memberExport_ = nullptr;
    std::unique_ptr<WindowCollection> collection_;
    std::unique_ptr<MonitorPage> monitor_;
};

}  // namespace korvel
