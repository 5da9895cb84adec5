// What the buttons of the page "店铺采集" start: the collection run and the two exports.

#include <QLineEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/MainWindow.h"
#include "app/ProductTableModel.h"
#include "app/SaveDialogComponent.h"
#include "app/WindowCollection.h"
#include "export/Exports.h"
#include "text/Gbk.h"
#include "words/ExportTexts.h"

namespace korvel {
namespace {

// A cancelled dialog says nothing; the window's boxes keep the plain icon even for a failure.
void ReportExport(MainWindow& window, const ExportResult& result, const char* donePrefix)
{
    using Outcome = ExportResult::Outcome;
    if (result.outcome == Outcome::Written)
        window.showMessage(export_words::Done(donePrefix, result.count), gbk::FromUtf8(export_words::DoneTitle));
    else if (result.outcome == Outcome::CannotWrite)
        window.showMessage(export_words::CannotWriteWithCause(result.path, result.cause),
                           gbk::FromUtf8(export_words::WriteFailedTitle));
}

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
    // A closed window's run was ended with its jobs, though its end was never shown.
    return !closing() && collection_->running();
}

void MainWindow::exportProductIds()
{
    const WindowCollection::Hold hold(*collection_);
    ReportExport(*this, ExportProductIds([this] { return productList().products(); }, saveDialog()), export_words::IdsDone);
}

void MainWindow::exportAllInformation()
{
    const WindowCollection::Hold hold(*collection_);
    ReportExport(*this, ExportAllInformation([this] { return productList().products(); }, saveDialog()), export_words::AllDone);
}

}  // namespace korvel
