#include "app/MainWindow.h"
#include "app/ControlNames.h"

#include <QCloseEvent>
#include <QFont>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <chrono>
#include <cstdio>

#include "app/AppIcon.h"
#include "app/ArticlePage.h"
#include "app/GbkCodec.h"
#include "app/GbkTableModel.h"
#include "app/MemberPage.h"
#include "app/MonitorPage.h"
#include "app/PagePlacement.h"
#include "app/ProductTableModel.h"
#include "app/Pages.h"
#include "app/SaveDialogComponent.h"
#include "app/ShopCollectionWiring.h"
#include "app/SignInMenu.h"
#include "app/StoreWorker.h"
#include "app/WindowCollection.h"
#include "store/StorePath.h"

namespace korvel {
namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const std::string& message, const std::string& title)
{
    const QString caption = title.empty() ? QStringLiteral("信息：") : FromGbk(title);
    QMessageBox box(icon, caption, FromGbk(message), QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

// A closing window is gone for the user within a second, whatever the store or a server does.
constexpr std::chrono::milliseconds CloseBudget{800};

MainWindow::MainWindow() : history_(std::make_unique<StoreWorker>(jobs_, DefaultStorePath()))
{
    setGeometry(50, 50, 999, 541);
    setFixedSize(999, 541);
    setWindowIcon(MakeAppIcon());
    // The controls' sizes were made for a 12-pixel Chinese face; larger text would not fit them.
    QFont face = font();
    face.setPixelSize(12);
    setFont(face);
    buildPages();
    buildMemberMenu();
    saveDialog_ = std::make_unique<SaveDialogComponent>(this);
    onCreated();
    wirePages();
}

MainWindow::~MainWindow()
{
    endJobs();
}

void MainWindow::endJobs()
{
    for (const std::string& job : jobs_.close(CloseBudget))
        std::fprintf(stderr, "korvel: 窗口已关闭，未完成的工作已放弃：%s\n", job.c_str());
}

void MainWindow::buildPages()
{
    products_ = new ProductTableModel(this);
    members_ = new GbkTableModel(ColumnTitles(MemberColumns()), this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QString::fromUtf8(names::Tabs));
    tabs_->setGeometry(9, 7, 976, 488);
    // The member page's group box sits at y = 25 from the tab control's corner: the tab
    // strip must end above it, a little higher than this style ends it by default. Password fields
    // show "*" per character.
    tabs_->setStyleSheet(
        QStringLiteral("QTabBar::tab { height: 21px; } QLineEdit { lineedit-password-character: 42; }"));
    const auto addPage = [this](const char* caption) {
        auto* page = new QWidget;
        tabs_->addTab(page, QString::fromUtf8(caption));
        return page;
    };
    BuildShopCollectionPage(addPage("店铺采集"), products_);
    BuildCollectionSettingsPage(addPage("采集设置第一步"));
    BuildMemberImportPage(addPage("会员导入"), members_);
    BuildTestAreaPage(addPage("程序测试区"));
    BuildProductImportPage(addPage("商品导入"));
    monitor_ = std::make_unique<MonitorPage>(*this, addPage("店铺监控"));
    KeepPagesInLayout(tabs_);
}

void MainWindow::buildMemberMenu()
{
    memberMenu_ = new QMenu(QStringLiteral("菜单"), this);
    memberMenu_->setObjectName(QStringLiteral("菜单"));
    memberExport_ = memberMenu_->addAction(QStringLiteral("导出"));
    memberExport_->setObjectName(QStringLiteral("导出"));
}

// The window-created handler: the constants, then the title made of them.
void MainWindow::onCreated()
{
    constants_ = MakeAppConstants();
    setWindowTitle(FromGbk(constants_.productTitle + constants_.versionText));
}

// Each page attaches its handlers here, one line per page.
void MainWindow::wirePages()
{
    collection_ = AttachShopCollection(*this);
    AttachMemberPage(*this);
    AttachArticleImport(*this);
    AttachSignIn(*this);
}

bool MainWindow::collecting() const
{
    // A closed window's run was ended with its jobs, though its end was never shown.
    return !closing() && collection_->running();
}

void MainWindow::showMessage(const std::string& gbkMessage, const std::string& gbkTitle)
{
    if (!closing()) {
        ShowBox(this, QMessageBox::NoIcon, gbkMessage, gbkTitle);
    }
}

void MainWindow::showError(const std::string& gbkMessage, const std::string& gbkTitle)
{
    if (!closing()) {
        ShowBox(this, QMessageBox::Critical, gbkMessage, gbkTitle);
    }
}

// From here on a running collection's requests end at once and it shows nothing, and jobs stop
// reaching into the window.
void MainWindow::closeEvent(QCloseEvent* event)
{
    endJobs();
    event->accept();
}

}  // namespace korvel
