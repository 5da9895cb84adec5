// The member page as a user works it: connect, read, right-click a member, upload them all, send
// the failed ones again, and close the window while a worker waits on a server.

#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "UserActions.h"
#include "app/ControlNames.h"
#include "app/GbkTableModel.h"
#include "app/MainWindow.h"
#include "app/MemberPage.h"
#include "app/PagePlacement.h"
#include "backend-stub/BackendStub.h"
#include "backend-stub/FlakyBackend.h"
#include "backend-stub/MemberTables.h"
#include "support/LocalServer.h"
#include "support/MemberTestDatabase.h"
#include "web/HttpSettings.h"

namespace korvel::test {
namespace {

QString Utf(const char* text)
{
    return QString::fromUtf8(text);
}

class MemberPageWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        KORVEL_NEED_MYSQL();
        backend.start();
        setenv("KORVEL_BACKEND_HOST", backend.host().c_str(), 1);
        database = std::make_unique<MemberTestDatabase>();
        ASSERT_TRUE(database->ok());
        ASSERT_TRUE(tools::CreateMemberTables052(database->db()));
    }

    void TearDown() override
    {
        window.reset();
        unsetenv("KORVEL_BACKEND_HOST");
    }

    void open(int members)
    {
        ASSERT_TRUE(tools::SeedMembers052(database->db(), tools::NumberedMembers(members)));
        showWindow();
    }

    void showWindow()
    {
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->tabs()->setCurrentIndex(2);
        page = window->findChild<MemberPage*>();
        ASSERT_NE(page, nullptr);
        type(names::DatabaseName, database->name());
        type(names::DatabasePort, std::to_string(database->port()));
    }

    void type(const char* field, const std::string& text)
    {
        auto* edit = window->control<QLineEdit>(field);
        edit->clear();
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    void click(const char* button)
    {
        QTest::mouseClick(window->control<QPushButton>(button), Qt::LeftButton);
    }
    QString text(const char* name) const
    {
        if (auto* label = window->control<QLabel>(name)) {
            return label->text();
        }
        return window->control<QPushButton>(name)->text();
    }
    QTreeView* list() const { return window->control<QTreeView>(names::MemberList); }

    // Presses 按钮6 and waits until the connect's end is shown.
    void connectPress()
    {
        click(names::ConnectButton);
        ASSERT_TRUE(WaitFor([&] { return !page->session().connecting; }));
    }

    void connectAndRead()
    {
        connectPress();
        ASSERT_TRUE(page->session().connection().connected());
        click(names::ReadButton);
        ASSERT_TRUE(WaitFor([&] { return !page->session().readerAlive; }));
        window->memberList().flush();
    }

    struct MenuItem {
        QString text;
        bool enabled;
    };
    // Right-clicks the list and reports the popup menu's items as it showed them, choosing the item
    // named `choice` when it is enabled, else closing the menu.
    std::vector<MenuItem> rightClickList(const char* choice = nullptr)
    {
        std::vector<MenuItem> items;
        QTimer::singleShot(50, window.get(), [&] {
            QAction* chosen = nullptr;
            for (QAction* action : window->memberMenu().actions()) {
                items.push_back({action->text(), action->isEnabled()});
                if (choice != nullptr && action->objectName() == Utf(choice) && action->isEnabled()) {
                    chosen = action;
                }
            }
            if (chosen != nullptr) {
                chosen->trigger();
            }
            window->memberMenu().close();
        });
        const QPoint at = list()->viewport()->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list()->viewport(), &event);
        return items;
    }
    bool exportOffered(const std::vector<MenuItem>& items) const
    {
        return !items.empty() && items[0].text == Utf("导出") && items[0].enabled;
    }

    tools::BackendStub backend{"admin", "secret"};
    std::unique_ptr<MemberTestDatabase> database;
    std::unique_ptr<MainWindow> window;
    MemberPage* page = nullptr;
};

TEST_F(MemberPageWindow, WrongPasswordThenConnectGivesTheListTheRoom)
{
    open(3);
    type(names::DatabasePassword, "wrong");
    auto box = AnswerNextBox();
    click(names::ConnectButton);
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_EQ(box->text, Utf("数据库连接失败！"));
    EXPECT_EQ(box->title, Utf("连接失败"));
    EXPECT_EQ(box->icon, QMessageBox::NoIcon);
    EXPECT_EQ(text(names::MemberStatusLabel), Utf("提示：数据库连接失败。"));
    EXPECT_TRUE(window->control(names::DatabaseBox)->isVisible());

    window->control<QLineEdit>(names::DatabasePassword)->clear();
    connectPress();
    EXPECT_EQ(text(names::MemberStatusLabel), Utf("提示：数据库连接成功。"));
    EXPECT_FALSE(window->control(names::DatabaseBox)->isVisible());
    EXPECT_FALSE(window->control(names::WarningLabel)->isVisible());
    EXPECT_EQ(LayoutRect(list()).left(), 10);
    EXPECT_EQ(LayoutRect(list()).width(), 957);
    EXPECT_EQ(LayoutRect(list()).right(), 966);  // the right edge stays where it was
    EXPECT_TRUE(list()->parentWidget()->rect().contains(list()->geometry()));
}

TEST_F(MemberPageWindow, ReadFillsTheListAndTheMenuOffersExportOnlyForASelectedRow)
{
    open(30);
    connectAndRead();
    EXPECT_EQ(list()->model()->rowCount(), 30);
    EXPECT_EQ(list()->model()->index(29, 0).data().toString(), Utf("030"));
    EXPECT_EQ(list()->model()->index(0, 4).data().toString().left(2), Utf("王芳"));
    EXPECT_EQ(text(names::MemberStatusLabel), Utf("提示：读取成功，记录总数30条。"));
    EXPECT_EQ(text(names::ReadButton), Utf("读取用户信息"));
    EXPECT_TRUE(window->control(names::UploadButton)->isEnabled());

    EXPECT_FALSE(exportOffered(rightClickList()));
    list()->setCurrentIndex(list()->model()->index(1, 0));
    auto box = AnswerNextBox();
    EXPECT_TRUE(exportOffered(rightClickList("导出")));
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_EQ(box->text, Utf("帐号或密码错误！"));  // no account typed yet

    type(names::BackendUser, "admin");
    type(names::BackendPassword, "secret");
    box = AnswerNextBox();
    EXPECT_TRUE(exportOffered(rightClickList("导出")));
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_EQ(box->text, Utf("导入会员成功，请进后台查看！"));
    EXPECT_EQ(box->title, Utf("导出成功"));
    ASSERT_EQ(backend.members().size(), 1u);
    EXPECT_EQ(backend.members()[0].value("from_user"), "oFan1_2");
}

TEST_F(MemberPageWindow, WhenTheReadButtonReadsIdleAgainEveryRowIsInTheList)
{
    open(5000);
    connectPress();
    click(names::ReadButton);
    ASSERT_TRUE(WaitFor([&] { return text(names::ReadButton) == Utf("读取用户信息"); }));
    EXPECT_EQ(list()->model()->rowCount(), 5000);
    EXPECT_EQ(list()->model()->index(4999, 0).data().toString(), Utf("5000"));
    EXPECT_TRUE(window->control(names::UploadButton)->isEnabled());
}

TEST_F(MemberPageWindow, UploadButtonSendsEveryMemberAndShowsTheTally)
{
    open(25);
    type(names::BackendUser, "admin");
    type(names::BackendPassword, "secret");
    connectAndRead();
    click(names::UploadButton);
    EXPECT_EQ(text(names::UploadButton), Utf("正在导出..."));
    EXPECT_FALSE(window->control(names::ReadButton)->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !page->session().uploadRunning; }));
    EXPECT_EQ(text(names::MemberStatusLabel), Utf("已经成功导入：0，更新：25，失败：0"));
    EXPECT_EQ(text(names::UploadButton), Utf("导入会员信息"));
    EXPECT_TRUE(window->control(names::ReadButton)->isEnabled());
    EXPECT_TRUE(window->control(names::SchemaCombo)->isEnabled());
    EXPECT_EQ(backend.members().size(), 25u);
}

TEST_F(MemberPageWindow, TheMenuSendsTheFailedUploadsAgainUntilNoneIsLeft)
{
    open(5);
    type(names::BackendUser, "admin");
    type(names::BackendPassword, "secret");
    connectAndRead();
    const QString accountLabel = text(names::AccountIdLabel);
    EXPECT_EQ(rightClickList().size(), 2u);  // nothing has failed yet: "导出" and "后台地址…"

    backend.scriptReplies({"2", "-1", "2", "0", "2"});
    click(names::UploadButton);
    ASSERT_TRUE(WaitFor([&] { return !page->session().uploadRunning; }));
    EXPECT_EQ(text(names::MemberStatusLabel), Utf("已经成功导入：0，更新：3，失败：2"));
    std::vector<MenuItem> items = rightClickList();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, Utf("导出"));
    EXPECT_EQ(items[1].text, Utf("重新导入失败的会员（2）"));
    EXPECT_TRUE(items[1].enabled);
    EXPECT_EQ(items[2].text, Utf("后台地址…"));

    backend.scriptReplies({"1", "-1"});
    rightClickList("重新导入失败的会员");
    ASSERT_TRUE(WaitFor([&] { return !page->session().uploadRunning; }));
    EXPECT_EQ(text(names::MemberStatusLabel), Utf("已经成功导入：1，更新：0，失败：1"));
    EXPECT_EQ(text(names::AccountIdLabel), accountLabel);
    EXPECT_EQ(text(names::UploadButton), Utf("导入会员信息"));
    const auto received = backend.members();
    ASSERT_EQ(received.size(), 7u);
    EXPECT_EQ(received[5].rawBody, received[1].rawBody);
    EXPECT_EQ(received[6].rawBody, received[3].rawBody);
    items = rightClickList();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].text, Utf("重新导入失败的会员（1）"));

    click(names::UploadButton);  // a new bulk upload forgets the failed member
    ASSERT_TRUE(WaitFor([&] { return !page->session().uploadRunning; }));
    EXPECT_EQ(rightClickList().size(), 2u);
}

// Whatever a worker waits on, closing the window cuts it short and ends every worker before any
// widget goes away. The list's scroll timer is left armed: run after the lists were destroyed, as
// a teardown that waited for the worker once did, it would touch a deleted model.
TEST_F(MemberPageWindow, ClosingWhileAWorkerWaitsOnAServerEndsAtOnce)
{
    tools::FlakyBackend silent;
    ASSERT_TRUE(silent.listening());
    silent.silenceAll();
    setenv("KORVEL_BACKEND_HOST", silent.host().c_str(), 1);
    ASSERT_TRUE(tools::SeedMembers052(database->db(), tools::NumberedMembers(30)));
    struct Case {
        const char* waitsOn;
        bool upload;      // else a read held up by a locked table
        bool closeFirst;  // else the window is destroyed without a close
    };
    const Case cases[] = {{"locked table, closed", false, true},
                          {"locked table, destroyed", false, false},
                          {"silent back-end, closed", true, true},
                          {"silent back-end, destroyed", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.waitsOn);
        const int silentBefore = silent.silentRequests();
        showWindow();
        connectAndRead();
        if (c.upload) {
            click(names::UploadButton);
            ASSERT_TRUE(WaitFor([&] { return silent.silentRequests() > silentBefore; }));
        } else {
            ASSERT_TRUE(database->lockForWriting("ims_fans"));
            click(names::ReadButton);
            ASSERT_TRUE(WaitFor([&] { return database->lockWaiterPresent(); }));
        }
        const MemberBatch rows = page->screen().members().front();
        page->screen().appendMembers(rows);
        page->screen().appendMembers(rows);

        const auto start = std::chrono::steady_clock::now();
        if (c.closeFirst) {
            window->close();
        }
        window.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        database->unlockTables();
    }
}

// The address set from the list's menu is kept in the configuration folder and read by the next
// window; one that is no address is refused with its reason and changes nothing.
TEST_F(MemberPageWindow, TheBackEndAddressIsSetFromTheMenuAndKeptAcrossARestart)
{
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    // The suite's own configuration folder comes back however the test ends.
    struct Restore {
        QByteArray before = qgetenv("XDG_CONFIG_HOME");
        ~Restore() { qputenv("XDG_CONFIG_HOME", before); }
    } restore;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    unsetenv("KORVEL_BACKEND_HOST");
    open(1);
    EXPECT_EQ(page->session().backendHost(), "members.korvel.example");

    auto box = AnswerNextBox();
    TypeIntoNextInputDialog(Utf("https://members.example/app"));
    rightClickList("后台地址");
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_TRUE(box->text.startsWith(Utf("后台地址无效：https://members.example/app\n"))) << box->text.toStdString();
    EXPECT_EQ(page->session().backendHost(), "members.korvel.example");

    TypeIntoNextInputDialog(Utf("https://members.example:8443"));
    rightClickList("后台地址");
    EXPECT_EQ(page->session().backendHost(), "https://members.example:8443");
    showWindow();  // a restart
    EXPECT_EQ(page->session().backendHost(), "https://members.example:8443");
    setenv("KORVEL_BACKEND_HOST", backend.host().c_str(), 1);  // the variable wins
    showWindow();
    EXPECT_EQ(page->session().backendHost(), backend.host());
    window.reset();
}

// Over https the bulk upload checks the back-end's certificate as the single one does: refused, the
// end box names the cause under the tally and nothing reaches either back-end.
TEST_F(MemberPageWindow, ABulkUploadToAnUntrustedBackEndNamesTheCertificate)
{
    tools::BackendStub secure("admin", "secret", TestTls().serverCert, TestTls().serverKey);
    secure.start();
    setenv("KORVEL_BACKEND_HOST", ("https://" + secure.host()).c_str(), 1);
    unsetenv("KORVEL_CA_FILE");
    CloseIdleConnections();
    open(3);
    type(names::BackendUser, "admin");
    type(names::BackendPassword, "secret");
    connectAndRead();
    auto box = AnswerNextBox();
    click(names::UploadButton);
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_EQ(box->text, Utf("已经成功导入：0，更新：0，失败：3\n证书被拒绝：证书不受信任"));
    EXPECT_EQ(box->title, Utf("导出失败"));
    ASSERT_TRUE(WaitFor([&] { return !page->session().uploadRunning; }));
    EXPECT_EQ(text(names::MemberStatusLabel), Utf("已经成功导入：0，更新：0，失败：3"));
    EXPECT_EQ(rightClickList()[1].text, Utf("重新导入失败的会员（3）"));
    EXPECT_EQ(secure.requestCount(), 0);
    EXPECT_EQ(backend.requestCount(), 0);
}

// Plain http to another machine: before the session's first upload the window says what will cross
// the network in clear text; "停止" sends nothing, "继续" sends, and nothing is asked again.
TEST_F(MemberPageWindow, BeforeClearTextToAnotherMachineTheWindowAsksOnce)
{
    const std::string port = backend.host().substr(backend.host().find(':') + 1);
    setenv("KORVEL_CONNECT_TO", ("members.example:" + port + ":127.0.0.1:" + port).c_str(), 1);
    setenv("KORVEL_BACKEND_HOST", ("members.example:" + port).c_str(), 1);
    open(2);
    type(names::BackendUser, "admin");
    type(names::BackendPassword, "secret");
    connectAndRead();

    auto question = AnswerNextQuestion(Utf("停止"));
    click(names::UploadButton);
    ASSERT_TRUE(question->shown);
    EXPECT_EQ(question->title, Utf("明文传送"));
    EXPECT_TRUE(question->text.contains(Utf("明文"))) << question->text.toStdString();
    EXPECT_EQ(question->buttons, 2);
    EXPECT_EQ(backend.requestCount(), 0);
    EXPECT_TRUE(window->control(names::UploadButton)->isEnabled());

    question = AnswerNextQuestion(Utf("继续"));
    click(names::UploadButton);
    ASSERT_TRUE(question->shown);
    ASSERT_TRUE(WaitFor([&] { return !page->session().uploadRunning; }));
    {
        BoxWatch boxes;
        click(names::UploadButton);
        ASSERT_TRUE(WaitFor([&] { return !page->session().uploadRunning; }));
        EXPECT_EQ(boxes.count(), 0);
    }
    unsetenv("KORVEL_CONNECT_TO");
    EXPECT_EQ(backend.requestCount(), 4);
}

// The longest time the window's thread went without running a 5 ms timer.
class GapMeter {
public:
    GapMeter()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, since_.restart());
        });
        since_.start();
        timer_.start(5);
    }
    // The longest gap over the next `ms` of the window's events.
    qint64 longestOver(int ms)
    {
        longest_ = 0;
        since_.restart();
        QTest::qWait(ms);
        return longest_;
    }

private:
    QTimer timer_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};

// Every job waits on a server that accepts and never answers: a connect that gets no greeting, a
// read held up by a locked table, a bulk and a single upload to a silent back-end. The window's
// thread goes on meanwhile, and closing it ends them all at once.
TEST_F(MemberPageWindow, TheWindowNeverWaitsOnAStalledServer)
{
    tools::FlakyBackend silent;
    ASSERT_TRUE(silent.listening());
    silent.silenceAll();
    setenv("KORVEL_BACKEND_HOST", silent.host().c_str(), 1);
    open(30);
    GapMeter gaps;
    const std::string silentPort = silent.host().substr(silent.host().find(':') + 1);

    type(names::DatabasePort, silentPort);
    click(names::ConnectButton);
    EXPECT_LT(gaps.longestOver(400), 100) << "connect";
    EXPECT_TRUE(page->session().connecting);
    page->session().connection().cancel();  // the attempt ends as the window's close would end it
    auto box = AnswerNextBox();
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_EQ(box->text, Utf("数据库连接失败！"));

    // The cancel is for good: a fresh window connects to the database.
    showWindow();
    type(names::BackendUser, "admin");
    connectAndRead();
    ASSERT_TRUE(database->lockForWriting("ims_fans"));
    click(names::ReadButton);
    ASSERT_TRUE(WaitFor([&] { return database->lockWaiterPresent(); }));
    EXPECT_LT(gaps.longestOver(300), 100) << "read";

    list()->setCurrentIndex(list()->model()->index(0, 0));
    rightClickList("导出");
    ASSERT_TRUE(WaitFor([&] { return silent.silentRequests() == 1; }));
    EXPECT_LT(gaps.longestOver(300), 100) << "single upload";

    click(names::ReadButton);  // the stop press lets the bulk upload start
    click(names::UploadButton);
    ASSERT_TRUE(WaitFor([&] { return silent.silentRequests() == 2; }));
    EXPECT_LT(gaps.longestOver(300), 100) << "bulk upload";

    const auto start = std::chrono::steady_clock::now();
    window->close();
    window.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    database->unlockTables();
}

}  // namespace
}  // namespace korvel::test
