#pragma once

// The main window: the tab control 高级选择夹1 with its five pages and every control on them,
// made before any handler runs, and the pages' own wiring attached to them. The pages see it as
// WindowParts: a control by its own name, as ControlNames.h lists them
// (control<QLabel>(names::MemberStatusLabel)), texts as GBK (ControlText.h), message boxes through
// showMessage(), every background task through jobs(), whose jobs reach the window only through
// post(…), and the history through history(), one connection for the whole window.

#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "app/AppConstants.h"
#include "app/ControlNames.h"
#include "app/JobRunner.h"
#include "app/WindowParts.h"

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

class MainWindow : public QWidget, public WindowParts {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    QWidget& widget() const override { return *self_; }
    using WindowParts::control;
    const AppConstants& constants() const override { return constants_; }
    QTabWidget* tabs() const override { return tabs_; }

    ProductTableModel& productList() const override { return *products_; }
    GbkTableModel& memberList() const override { return *members_; }
    SaveDialogComponent& saveDialog() const override { return *saveDialog_; }
    QMenu& memberMenu() const override { return *memberMenu_; }
    QAction& memberExportAction() const override { return *memberExport_; }

    void showMessage(const std::string& gbkMessage, const std::string& gbkTitle = {}) override;
    void showError(const std::string& gbkMessage, const std::string& gbkTitle = {}) override;

    JobRunner& jobs() override { return jobs_; }
    StoreWorker& history() override { return *history_; }
    bool closing() const override { return jobs_.closing(); }
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

    // First: destroyed last, after everything its jobs post to.
    JobRunner jobs_;
    QWidget* const self_ = this;
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
