#include "UserActions.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace korvel::test {
namespace {

// Polls for the active modal window of type T and hands it to `answer` once.
template <class T>
void OnNextModal(std::function<void(T*)> answer)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start(10);
}

SeenBox Read(QMessageBox* box)
{
    SeenBox seen;
    seen.shown = true;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = static_cast<int>(box->buttons().size());
    return seen;
}

void PressOk(QMessageBox* box)
{
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    if (ok != nullptr) {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        box->reject();
    }
}

// The completion list the dialog opens while a path is typed can come back after the user
// dismissed it, and then swallows the click on Save; the user dismisses it and presses again,
// until this showing of the dialog ends.
// On a loaded machine a press can land as the dialog accepts the previous one, so that the dialog
// asks whether to replace the file it has just been asked to write; the answer is yes, as the
// user who pressed twice means it. The watch ends with this showing of the dialog.
void ReplaceWhenAsked(QFileDialog* dialog)
{
    auto* watch = new QTimer(qApp);
    QObject::connect(dialog, &QDialog::finished, watch, [watch] {
        watch->stop();
        watch->deleteLater();
    });
    QObject::connect(watch, &QTimer::timeout, [dialog] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (question != nullptr && question->parentWidget() == dialog && question->isVisible()) {
            question->done(QMessageBox::Yes);
        }
    });
    watch->start(20);
}

void PressSaveUntilClosed(QFileDialog* dialog, QLineEdit* field, const QString& name)
{
    ReplaceWhenAsked(dialog);
    auto* timer = new QTimer(qApp);
    QObject::connect(dialog, &QDialog::finished, timer, [timer] {
        timer->stop();
        timer->deleteLater();
    });
    QPointer<QFileDialog> guarded(dialog);
    QObject::connect(timer, &QTimer::timeout, [guarded, field, name] {
        if (guarded.isNull() || !guarded->isVisible()) {
            return;
        }
        if (field->completer() != nullptr) {
            field->completer()->popup()->hide();
        }
        // On a loaded machine the file list, filled from another thread, can come up with folders
        // selected (the path the dialog walked down to), and the dialog then takes those for the
        // chosen files; and the completion list can complete the name to a file already there.
        // What the user typed is saved.
        for (auto* view : guarded->findChildren<QAbstractItemView*>()) {
            if (view->selectionModel() != nullptr) {
                view->selectionModel()->clearSelection();
            }
        }
        if (field->text() != name) {
            field->setText(name);
        }
        auto* buttons = guarded->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* save = buttons != nullptr ? buttons->button(QDialogButtonBox::Save) : nullptr;
        if (save != nullptr) {
            QTest::mouseClick(save, Qt::LeftButton);
        }
    });
    timer->start(20);
}

}  // namespace

std::shared_ptr<SeenBox> AnswerNextBox()
{
    auto seen = std::make_shared<SeenBox>();
    OnNextModal<QMessageBox>([seen](QMessageBox* box) {
        *seen = Read(box);
        PressOk(box);
    });
    return seen;
}

std::shared_ptr<SeenBox> AnswerNextQuestion(const QString& button)
{
    auto seen = std::make_shared<SeenBox>();
    OnNextModal<QMessageBox>([seen, button](QMessageBox* box) {
        *seen = Read(box);
        for (QAbstractButton* choice : box->buttons()) {
            if (choice->text() == button) {
                QTest::mouseClick(choice, Qt::LeftButton);
                return;
            }
        }
        box->reject();
    });
    return seen;
}

void TypeIntoNextInputDialog(const QString& text)
{
    OnNextModal<QInputDialog>([text](QInputDialog* dialog) {
        dialog->setTextValue(text);
        dialog->accept();
    });
}

struct BoxWatch::State {
    QTimer timer;
    int count = 0;
    SeenBox last;
};

BoxWatch::BoxWatch() : state_(std::make_unique<State>())
{
    State* s = state_.get();
    QObject::connect(&s->timer, &QTimer::timeout, [s] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            ++s->count;
            s->last = Read(box);
            PressOk(box);
        }
    });
    s->timer.start(10);
}

BoxWatch::~BoxWatch() = default;

int BoxWatch::count() const
{
    return state_->count;
}

const SeenBox& BoxWatch::last() const
{
    return state_->last;
}

std::shared_ptr<SeenDialog> AnswerNextSaveDialog(const QString& name, bool cancel)
{
    auto seen = std::make_shared<SeenDialog>();
    OnNextModal<QFileDialog>([seen, name, cancel](QFileDialog* dialog) {
        auto* field = dialog->findChild<QLineEdit*>();
        seen->shown = true;
        seen->nameFilters = dialog->nameFilters();
        seen->defaultSuffix = dialog->defaultSuffix();
        seen->proposedName = field != nullptr ? field->text() : QString();
        seen->proposedDirectory = dialog->directory().absolutePath();
        if (name.isEmpty() || field == nullptr) {
            // Not Escape: with the file name's completion list open, Escape only closes the list
            // and the dialog would wait forever.
            dialog->reject();
            return;
        }
        field->selectAll();
        QTest::keyClicks(field, name);
        if (cancel) {
            dialog->reject();
            return;
        }
        PressSaveUntilClosed(dialog, field, name);
    });
    return seen;
}

void LookAtNextSaveDialog(const std::function<void(QFileDialog*)>& look)
{
    OnNextModal<QFileDialog>([look](QFileDialog* dialog) {
        look(dialog);
        dialog->reject();
    });
}

void TypeWithInputMethod(QWidget* field, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(field, &event);
}

bool WaitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace korvel::test
