#pragma once

// What a user does to the modal windows that open while a click is being handled: read the box
// and press OK, or type a file name into the save dialog and press Return. Each answer waits in
// the event loop for the window it answers, so it is armed before the click that opens it.

#include <QIcon>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>

class QFileDialog;

namespace korvel::test {

struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Presses OK on the next message box and records what it showed.
std::shared_ptr<SeenBox> AnswerNextBox();

// Presses the button named `button` on the next message box and records what it showed.
std::shared_ptr<SeenBox> AnswerNextQuestion(const QString& button);

// Types `text` into the next input dialog and accepts it.
void TypeIntoNextInputDialog(const QString& text);

// Records every message box that opens until the returned guard is gone, pressing OK on each.
class BoxWatch {
public:
    BoxWatch();
    ~BoxWatch();
    int count() const;
    const SeenBox& last() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

struct SeenDialog {
    bool shown = false;
    QStringList nameFilters;
    QString defaultSuffix;
    QString proposedName;  // the file-name field as the dialog opened
    QString proposedDirectory;
};

// Types `name` into the next save dialog's file-name field and presses Save; with an empty name
// presses Escape instead. With `cancel` the name is typed and then Escape pressed.
std::shared_ptr<SeenDialog> AnswerNextSaveDialog(const QString& name, bool cancel = false);

// Hands the next save dialog to `look` while it is open, then cancels it.
void LookAtNextSaveDialog(const std::function<void(QFileDialog*)>& look);

// Types text the way an input method commits it, as Chinese is typed.
void TypeWithInputMethod(QWidget* field, const QString& text);

// Lets the window process its events until `done` holds or `ms` pass.
bool WaitFor(const std::function<bool()>& done, int ms = 20000);

}  // namespace korvel::test
