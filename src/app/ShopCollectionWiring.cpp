#include "app/ShopCollectionWiring.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/ProductTableModel.h"
#include "app/SaveDialogComponent.h"
#include "app/WindowCollection.h"
#include "app/WindowParts.h"
#include "export/Exports.h"
#include "text/Gbk.h"
#include "words/ExportTexts.h"

namespace korvel {
namespace {

// A cancelled dialog says nothing; the window's boxes keep the plain icon even for a failure.
void ReportExport(WindowParts& window, const ExportResult& result, const char* donePrefix)
{
    using Outcome = ExportResult::Outcome;
    if (result.outcome == Outcome::Written)
        window.showMessage(export_words::Done(donePrefix, result.count),
                           gbk::FromUtf8(export_words::DoneTitle));
    else if (result.outcome == Outcome::CannotWrite)
        window.showMessage(export_words::CannotWriteWithCause(result.path, result.cause),
                           gbk::FromUtf8(export_words::WriteFailedTitle));
}

}  // namespace

std::unique_ptr<WindowCollection> AttachShopCollection(WindowParts& window)
{
    auto collection = std::make_unique<WindowCollection>(window);
    WindowCollection* run = collection.get();
    QWidget* context = &window.widget();
    const auto products = [&window] { return window.productList().products(); };
    QObject::connect(window.control<QPushButton>(names::StartButton), &QPushButton::clicked, context,
                     [run] { run->start(); });
    // Enter in the address field does what a click on the start button does, while it can be clicked.
    QObject::connect(window.control<QLineEdit>(names::ShopAddress), &QLineEdit::returnPressed, context,
                     [&window, run] {
                         if (window.control<QPushButton>(names::StartButton)->isEnabled())
                             run->start();
                     });
    QObject::connect(window.control<QPushButton>(names::ExportIdsButton), &QPushButton::clicked, context,
                     [&window, run, products] {
                         const WindowCollection::Hold hold(*run);
                         ReportExport(window, ExportProductIds(products, window.saveDialog()),
                                      export_words::IdsDone);
                     });
    QObject::connect(window.control<QPushButton>(names::ExportAllButton), &QPushButton::clicked, context,
                     [&window, run, products] {
                         const WindowCollection::Hold hold(*run);
                         ReportExport(window, ExportAllInformation(products, window.saveDialog()),
                                      export_words::AllDone);
                     });
    return collection;
}

}  // namespace korvel
