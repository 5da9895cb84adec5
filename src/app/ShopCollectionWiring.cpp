// What the buttons of the page "店铺采集" start: the collection run and the two exports.

#include <QLineEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/MainWindow.h"
#include "app/ProductTableModel.h"
#include "app/SaveDialogComponent.h"
#include "app/WindowCollection.h"
#include "export/Exports.h"

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
    collection_ = std::make_unique<WindowCollection>(*this);
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
    collection_->start();
}

bool MainWindow::collecting() const
{
    return collection_->running();
}

void MainWindow::exportProductIds()
{
    const WindowCollection::Hold hold(*collection_);
    WindowMessageBox box(*this);
    // The export tells the user itself whether it wrote the file.
    static_cast<void>(ExportProductIds(productList().products(), saveDialog(), box));
}

void MainWindow::exportAllInformation()
{
    const WindowCollection::Hold hold(*collection_);
    WindowMessageBox box(*this);
    // The export tells the user itself whether it wrote the file.
    static_cast<void>(ExportAllInformation(productList().products(), saveDialog(), box));
}

}  // namespace korvel
