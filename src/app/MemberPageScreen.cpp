#include "app/MemberPageScreen.h"
#include "app/ControlNames.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

#include "app/ControlText.h"
#include "app/GbkCodec.h"
#include "app/GbkTableModel.h"
#include "app/WindowParts.h"
#include "app/MemberTexts.h"
#include "app/PagePlacement.h"
#include "app/JobRunner.h"

namespace korvel {
namespace {

constexpr int kScrollIntervalMs = 50;

const char* FieldName(MemberField field)
{
    switch (field) {
        case MemberField::Host:
            return names::DatabaseHost;
        case MemberField::User:
            return names::DatabaseUser;
        case MemberField::Password:
            return names::DatabasePassword;
        case MemberField::Database:
            return names::DatabaseName;
        case MemberField::Port:
            return names::DatabasePort;
        case MemberField::AccountId:
            return names::AccountId;
        case MemberField::BackendUser:
            return names::BackendUser;
        case MemberField::BackendPassword:
            return names::BackendPassword;
    }
    return "";
}

}  // namespace

MemberPageScreen::MemberPageScreen(WindowParts& window, JobRunner& jobs)
    : window_(window),
      jobs_(jobs),
      list_(window.control<QTreeView>(names::MemberList)),
      scrollToNewest_(kScrollIntervalMs, [this] {
          window_.memberList().flush();
          list_->scrollToBottom();
      })
{
}

void MemberPageScreen::post(std::function<void()> work)
{
    jobs_.post(std::move(work));
}

std::string MemberPageScreen::fieldText(MemberField field)
{
    return ControlText(window_.control(FieldName(field)));
}

int MemberPageScreen::schemaValue()
{
    auto* combo = window_.control<QComboBox>(names::SchemaCombo);
    return combo->currentIndex() < 0 ? -1 : combo->currentData().toInt();
}

// A reader's or uploader's closing states follow its last rows: whoever sees them sees every row.
void MemberPageScreen::showPendingRows()
{
    scrollToNewest_.flush();
}

void MemberPageScreen::setStatus(const std::string& caption)
{
    showPendingRows();
    SetControlText(window_.control(names::MemberStatusLabel), caption);
}

QWidget* MemberPageScreen::widget(MemberControl control) const
{
    switch (control) {
        case MemberControl::ReadButton:
            return window_.control(names::ReadButton);
        case MemberControl::UploadButton:
            return window_.control(names::UploadButton);
        case MemberControl::SchemaCombo:
            return window_.control(names::SchemaCombo);
        case MemberControl::ConnectionGroup:
            return window_.control(names::DatabaseBox);
        case MemberControl::WarningLabel:
            return window_.control(names::WarningLabel);
    }
    return nullptr;
}

void MemberPageScreen::setCaption(MemberControl control, const std::string& caption)
{
    showPendingRows();
    SetControlText(widget(control), caption);
}

void MemberPageScreen::setEnabled(MemberControl control, bool enabled)
{
    showPendingRows();
    widget(control)->setEnabled(enabled);
}

void MemberPageScreen::setVisible(MemberControl control, bool visible)
{
    widget(control)->setVisible(visible);
}

void MemberPageScreen::moveMemberList(int left)
{
    QRect at = LayoutRect(list_);
    at.moveLeft(left);
    placeList(at);
}

void MemberPageScreen::setMemberListWidth(int width)
{
    QRect at = LayoutRect(list_);
    at.setWidth(width);
    placeList(at);
}

// Positions count from the tab control's corner; the page starts below its tab strip.
void MemberPageScreen::placeList(QRect layoutRect)
{
    SetLayoutRect(list_, layoutRect);
    const QPoint offset = list_->parentWidget()->mapTo(window_.tabs(), QPoint(0, 0));
    list_->setGeometry(layoutRect.translated(-offset));
}

void MemberPageScreen::clearMembers()
{
    window_.memberList().clear();
    batches_.clear();
}

void MemberPageScreen::appendMembers(const MemberBatch& rows)
{
    batches_.push_back(rows);
    GbkTableModel& model = window_.memberList();
    for (const MemberRecord& row : *rows) {
        std::vector<std::string> cells;
        cells.reserve(MemberFieldCount + 2);
        cells.push_back(row.caption);
        cells.insert(cells.end(), row.cells.begin(), row.cells.end());
        model.appendRow(std::move(cells));
    }
    scrollToNewest_.poke();
}

std::vector<MemberBatch> MemberPageScreen::members()
{
    return batches_;
}

int MemberPageScreen::selectedMember()
{
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool MemberPageScreen::askToGoOn(const std::string& message, const std::string& title)
{
    QMessageBox box(QMessageBox::NoIcon, FromGbk(title), FromGbk(message), QMessageBox::NoButton, &window_.widget());
    QPushButton* goOn = box.addButton(QString::fromUtf8(backend_text::GoOn), QMessageBox::AcceptRole);
    box.addButton(QString::fromUtf8(backend_text::Stop), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == goOn;
}

void MemberPageScreen::showMessage(const std::string& message, const std::string& title, MessageIcon icon)
{
    if (icon == MessageIcon::Error) {
        window_.showError(message, title);
    } else {
        window_.showMessage(message, title);
    }
}

}  // namespace korvel
