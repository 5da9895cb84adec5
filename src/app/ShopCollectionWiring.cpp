// What the buttons of the page "店铺采集" start: the collection run and the two exports.

#include <QLineEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/GbkTableModel.h"
#include "app/MainWindow.h"
#include "app/SaveDialogComponent.h"
#include "app/WindowCollectionScreen.h"
#include "collect/RunCollection.h"
#include "export/Exports.h"
#include "session/KeptSession.h"

namespace korvel {
namespace {

class WindowMessageBox : public MessageBox {
public:
    explicit WindowMessageBox(MainWindow& window) : window_(window) {}
    void showMessage(const std::string& message, const std::string& title) override
    {
        window_.showMessage(message, title);
    }

private:
    MainWindow& window_;
};

}  // namespace

void MainWindow::wireShopCollectionPage()
{
    connect(control<QPushButton>(names::StartButton), &QPushButton::clicked, this,
            &MainWindow::runCollection);
    // Enter in the address field does what a click on the start button does, while it can be clicked.
    connect(control<QLineEdit>(names::ShopAddress), &QLineEdit::returnPressed, this, [this] {
        if (control<QPushButton>(names::StartButton)->isEnabled()) {
            runCollection();
        }
    });
    connect(control<QPushButton>(names::ExportIdsButton), &QPushButton::clicked, this,
            &MainWindow::exportProductIds);
    connect(control<QPushButton>(names::ExportAllButton), &QPushButton::clicked, this,
            &MainWindow::exportAllInformation);
}

void MainWindow::runCollection()
{
    if (collecting_) {
        return;
    }
    collecting_ = true;
    {
        WindowCollectionScreen screen(*this);
        runCancel_ = &screen.cancellation();
        const std::unique_ptr<KeptSession> session = KeptSessionFromStore();
        FetchPolicy policy;
        policy.session = session.get();
        // The run has shown how it ended; the window has nothing to add.
        static_cast<void>(RunCollection(screen, policy));
        runCancel_ = nullptr;
    }
    collecting_ = false;
}

void MainWindow::exportProductIds()
{
    WindowMessageBox box(*this);
    // The export tells the user itself whether it wrote the file.
    static_cast<void>(ExportProductIds(productList(), saveDialog(), box));
}

void MainWindow::exportAllInformation()
{
    WindowMessageBox box(*this);
    // The export tells the user itself whether it wrote the file.
    static_cast<void>(ExportAllInformation(productList(), saveDialog(), box));
}

}  // namespace korvel
