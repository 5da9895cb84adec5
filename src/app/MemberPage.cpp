#include "app/MemberPage.h"
#include "app/ControlNames.h"

#include <QAction>
#include <QEvent>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <chrono>

#include "app/BackendSetting.h"
#include "app/GbkCodec.h"
#include "app/WindowParts.h"
#include "app/MemberPresses.h"
#include "app/MemberTexts.h"
#include "members/BackendAddress.h"

namespace korvel {
namespace {

// A read hands the list a batch at most every 25 ms: visible filling at a fraction of the cost of
// one call into the window per member.
constexpr MemberReadPacing kWindowPacing{1000, std::chrono::milliseconds(25)};
// An upload shows its tally every 20 ms, well within what the eye can follow, instead of after
// every member.
constexpr MemberUploadPacing kWindowUploadPacing{std::chrono::milliseconds(20)};

}  // namespace

MemberPage::MemberPage(WindowParts& window)
    : QObject(&window.widget()),
      window_(window),
      retryAction_(new QAction(this)),
      addressAction_(new QAction(QString::fromUtf8(backend_text::MenuItem), this)),
      screen_(window, window.jobs()),
      session_(window.jobs(), window.constants().backendHost, window.constants().backendAccountId)
{
    session_.readPacing = kWindowPacing;
    session_.uploadPacing = kWindowUploadPacing;
    window.widget().installEventFilter(this);
    connect(window.control<QPushButton>(names::ConnectButton), &QPushButton::clicked, this,
            [this] { ConnectMemberDatabase(session_, screen_); });
    connect(window.control<QPushButton>(names::ReadButton), &QPushButton::clicked, this,
            [this] { ToggleMemberReading(session_, screen_); });
    connect(window.control<QPushButton>(names::UploadButton), &QPushButton::clicked, this,
            [this] { StartMemberUpload(session_, screen_); });
    QTreeView* list = screen_.list();
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &MemberPage::showMemberMenu);
    connect(&window.memberExportAction(), &QAction::triggered, this,
            [this] { UploadSelectedMember(session_, screen_); });
    retryAction_->setObjectName(QStringLiteral("重新导入失败的会员"));
    connect(retryAction_, &QAction::triggered, this, [this] { StartFailedUploadRetry(session_, screen_); });
    addressAction_->setObjectName(QStringLiteral("后台地址"));
    connect(addressAction_, &QAction::triggered, this, &MemberPage::editBackendAddress);
}

MemberPage::~MemberPage()
{
    stopWorkers();  // already done when the window was closed
}

bool MemberPage::eventFilter(QObject* watched, QEvent* event)
{
    // The parent the page was made with: the window, asked nothing while it is being destroyed.
    if (watched == parent() && event->type() == QEvent::Close) {
        stopWorkers();
    }
    return QObject::eventFilter(watched, event);
}

void MemberPage::stopWorkers()
{
    session_.stop();
}

void MemberPage::showMemberMenu(const QPoint& at)
{
    window_.memberExportAction().setEnabled(CanUploadSelectedMember(session_, screen_));
    // The menu holds the retry only while there is something to retry.
    const auto failed = static_cast<qsizetype>(session_.failedUploads.size());
    if (failed > 0) {
        retryAction_->setText(QStringLiteral("重新导入失败的会员（%1）").arg(failed));
        retryAction_->setEnabled(CanRetryFailedUploads(session_));
        window_.memberMenu().addAction(retryAction_);
    } else {
        window_.memberMenu().removeAction(retryAction_);
    }
    window_.memberMenu().removeAction(addressAction_);
    window_.memberMenu().addAction(addressAction_);
    window_.memberMenu().exec(screen_.list()->viewport()->mapToGlobal(at) + QPoint(3, 3));
}

// Only an address that parses is kept: a mistyped one is refused here, with its reason, before any
// member could be sent to it.
void MemberPage::editBackendAddress()
{
    QInputDialog dialog(&window_.widget());
    dialog.setObjectName(QStringLiteral("后台地址"));
    dialog.setWindowTitle(QString::fromUtf8(backend_text::DialogTitle));
    dialog.setLabelText(QString::fromUtf8(backend_text::DialogLabel));
    dialog.setTextValue(QString::fromStdString(session_.backendHost()));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::string typed = dialog.textValue().trimmed().toStdString();
    if (!ParseBackendAddress(typed)) {
        window_.showMessage(Utf8ToGbk(backend_text::InvalidPrefix) + ToGbk(dialog.textValue()) +
                                Utf8ToGbk(backend_text::InvalidSuffix),
                            Utf8ToGbk(backend_text::DialogTitle));
        return;
    }
    session_.setBackendHost(typed);
    session_.clearTextAccepted = false;  // the word is about the address it was said for
    if (!SaveBackendAddress(typed)) {
        window_.showMessage(Utf8ToGbk(backend_text::NotSaved), Utf8ToGbk(backend_text::DialogTitle));
    }
}

void AttachMemberPage(WindowParts& window)
{
    new MemberPage(window);
}

}  // namespace korvel
