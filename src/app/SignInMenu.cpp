#include "app/SignInMenu.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include "app/GbkCodec.h"
#include "app/JobRunner.h"
#include "app/WindowParts.h"
#include "app/SignInTexts.h"
#include "app/SignInWindow.h"
#include "session/ImportIntoStore.h"

namespace korvel {
namespace {

class SignInControls : public QObject {
public:
    explicit SignInControls(WindowParts& window) : QObject(&window.widget()), window_(window)
    {
        button_ = new QToolButton(&window.widget());
        button_->setObjectName(QString::fromUtf8(SignInButtonName));
        button_->setGeometry(9, 505, 180, 26);
        button_->setPopupMode(QToolButton::InstantPopup);
        auto* menu = new QMenu(button_);
        if (SignInWindow::Available())
            connect(menu->addAction(QStringLiteral("登录淘宝/天猫…")), &QAction::triggered, this, [this] { signIn(); });
        QMenu* from = menu->addMenu(QStringLiteral("从浏览器导入登录"));
        for (const char* browser : {"firefox", "chromium", "chrome"}) {
            QString name = QString::fromLatin1(browser);
            name[0] = name[0].toUpper();
            connect(from->addAction(name), &QAction::triggered, this, [this, browser] {
                startImport(ParseImportSource(browser));
            });
        }
        connect(from->addAction(QStringLiteral("cookies.txt 文件…")), &QAction::triggered, this, [this] { importFile(); });
        connect(menu->addAction(QStringLiteral("退出登录")), &QAction::triggered, this, [this] { signOut(); });
        connect(menu, &QMenu::aboutToShow, this, [this] { refresh(); });
        button_->setMenu(menu);
        refresh();
    }

private:
    void refresh()
    {
        const bool kept = !LoadStore(DefaultSessionPath()).cookies.empty();
        button_->setText(kept ? QStringLiteral("淘宝/天猫：已登录") : QStringLiteral("淘宝/天猫：未登录"));
    }

    void say(const QString& text)
    {
        refresh();
        window_.showMessage(ToGbk(text), ToGbk(QStringLiteral("登录状态")));
    }

    void signIn()
    {
        if (!browser_) {
            browser_ = new SignInWindow(&window_.widget());
            connect(browser_, &SignInWindow::signedIn, this, [this] { refresh(); });
        }
        browser_->start();
    }

    void importFile()
    {
        const QString file = QFileDialog::getOpenFileName(&window_.widget(), QStringLiteral("导入 cookies.txt"), QString(),
                                                          QStringLiteral("cookies.txt (*.txt);;所有文件 (*)"));
        if (!file.isEmpty())
            startImport(ParseImportSource(file.toLocal8Bit().toStdString()));
    }

    // A browser's database is copied and may wait on the desktop's keyring: off the window's thread.
    void startImport(ImportSource source)
    {
        QPointer<SignInControls> self(this);
        window_.jobs().start("导入登录状态", [self, source](JobRunner::Context& job) {
            const StoreImport done = ImportIntoStore(source);
            job.post([self, source, done] {
                if (self)
                    self->say(ImportOutcomeText(done, source));
            });
        });
    }

    void signOut()
    {
        const SessionFileResult cleared = ClearStore(DefaultSessionPath());
        say(cleared.ok() ? QStringLiteral("已退出登录") : QStringLiteral("退出登录失败：") + StoreProblemText(cleared));
    }

    WindowParts& window_;
    QToolButton* button_ = nullptr;
    QPointer<SignInWindow> browser_;
};

}  // namespace

void AttachSignIn(WindowParts& window)
{
    new SignInControls(window);
}

}  // namespace korvel
