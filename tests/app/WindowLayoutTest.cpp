// The window as a user first sees it: every control where the layout puts it, with its kind, name
// and initial text, and nothing else on screen.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "LayoutTable.h"
#include "app/ControlNames.h"
#include "app/MainWindow.h"

namespace korvel::test {
namespace {

QString Utf(const char* text)
{
    return QString::fromUtf8(text);
}

QString InitialText(const QWidget* w, Kind kind)
{
    switch (kind) {
        case Kind::Label:
            return qobject_cast<const QLabel*>(w)->text();
        case Kind::Edit:
        case Kind::Password:
            return qobject_cast<const QLineEdit*>(w)->text();
        case Kind::MultiLine:
            return qobject_cast<const QPlainTextEdit*>(w)->toPlainText();
        case Kind::Button:
            return qobject_cast<const QPushButton*>(w)->text();
        case Kind::GroupBox:
            return qobject_cast<const QGroupBox*>(w)->title();
        case Kind::Combo:
            return qobject_cast<const QComboBox*>(w)->currentText();
        case Kind::List:
            return {};
    }
    return {};
}

bool HasKind(const QWidget* w, Kind kind)
{
    switch (kind) {
        case Kind::Label:
            return qobject_cast<const QLabel*>(w) != nullptr;
        case Kind::Edit:
            return qobject_cast<const QLineEdit*>(w) != nullptr &&
                   qobject_cast<const QLineEdit*>(w)->echoMode() == QLineEdit::Normal;
        case Kind::Password:
            return qobject_cast<const QLineEdit*>(w) != nullptr &&
                   qobject_cast<const QLineEdit*>(w)->echoMode() == QLineEdit::Password;
        case Kind::MultiLine:
            return qobject_cast<const QPlainTextEdit*>(w) != nullptr;
        case Kind::Button:
            return qobject_cast<const QPushButton*>(w) != nullptr;
        case Kind::GroupBox:
            return qobject_cast<const QGroupBox*>(w) != nullptr;
        case Kind::List:
            return qobject_cast<const QTreeView*>(w) != nullptr;
        case Kind::Combo:
            return qobject_cast<const QComboBox*>(w) != nullptr;
    }
    return false;
}

class WindowLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    MainWindow window;
};

TEST(WindowStart, TitleIsProductAndVersionFromTheMomentTheWindowExists)
{
    MainWindow window;
    EXPECT_EQ(window.windowTitle(), Utf("Korvel淘宝天猫采集系统V3.8"));
    EXPECT_EQ(window.constants().backendAccountId, "1");
    EXPECT_FALSE(window.constants().backendHost.empty());
}

TEST_F(WindowLayout, WindowHasItsSizePlaceAndTheIconAtEveryThemeSize)
{
    EXPECT_EQ(window.geometry(), QRect(50, 50, 999, 541));
    const QIcon icon = window.windowIcon();
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
        EXPECT_EQ(icon.pixmap(side).size(), QSize(side, side)) << "not drawn at " << side;
    }
    QTabWidget* tabs = window.control<QTabWidget>(names::Tabs);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->parentWidget(), &window);
    EXPECT_EQ(tabs->geometry(), QRect(9, 7, 976, 488));
    // The five pages, then the shop history's tab after them.
    const QStringList captions = {Utf("店铺采集"), Utf("采集设置第一步"), Utf("会员导入"), Utf("程序测试区"),
                                  Utf("商品导入"), Utf("店铺监控")};
    ASSERT_EQ(tabs->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    }
}

TEST_F(WindowLayout, EveryControlHasItsKindPlaceAndInitialText)
{
    QTabWidget* tabs = window.tabs();
    for (const ExpectedControl& e : ExpectedControls()) {
        SCOPED_TRACE(e.name);
        const auto found = window.findChildren<QWidget*>(Utf(e.name));
        ASSERT_EQ(found.size(), 1);
        QWidget* w = found.front();
        EXPECT_TRUE(HasKind(w, e.kind));
        EXPECT_EQ(InitialText(w, e.kind), Utf(e.text));
        EXPECT_EQ(w->size(), e.at.size());
        // A page gets its size once it is the page shown.
        tabs->setCurrentIndex(e.page);
        QWidget* page = tabs->widget(e.page);
        if (*e.group != '\0') {
            ASSERT_EQ(w->parentWidget(), window.control(e.group));
            EXPECT_EQ(w->pos(), e.at.topLeft());
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << "outside its group box";
        } else {
            ASSERT_EQ(w->parentWidget(), page);
            EXPECT_EQ(w->mapTo(tabs, QPoint(0, 0)), e.at.topLeft());
            EXPECT_TRUE(page->rect().contains(w->geometry()))
                << "cut off by its page " << page->width() << "x" << page->height() << " at "
                << page->mapTo(tabs, QPoint(0, 0)).y();
        }
    }
}

// Where a control draws its caption, as its style lays it out; empty for controls without one.
QRect CaptionRoom(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        const int m = label->margin();
        return label->contentsRect().adjusted(m, m, -m, -m);
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool check = qobject_cast<const QCheckBox*>(w) != nullptr;
        return w->style()->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                                          &option, w);
    }
    if (qobject_cast<const QGroupBox*>(w) != nullptr) {
        return w->rect().adjusted(8, 0, -8, 0);  // the title sits inside the frame's corners
    }
    return {};
}

QString Caption(const QWidget* w)
{
    if (auto* box = qobject_cast<const QGroupBox*>(w)) {
        return box->title();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    auto* label = qobject_cast<const QLabel*>(w);
    return label != nullptr ? label->text() : QString();
}

// Every label, button, check box and group title of every page, hidden ones included, in the face
// it is drawn with: a caption wider or taller than its room is cut off on screen.
TEST_F(WindowLayout, EveryCaptionFitsItsControl)
{
    int checked = 0;
    for (QWidget* w : window.tabs()->findChildren<QWidget*>()) {
        const QRect room = CaptionRoom(w);
        if (w->objectName().startsWith(QLatin1String("qt_")) || room.isNull() || Caption(w).isEmpty()) {
            continue;
        }
        const QSize needed = QFontMetrics(w->font()).size(Qt::TextShowMnemonic, Caption(w));
        EXPECT_LE(needed.width(), room.width())
            << qPrintable(w->objectName()) << " " << qPrintable(Caption(w));
        EXPECT_LE(needed.height(), room.height())
            << qPrintable(w->objectName()) << " " << qPrintable(Caption(w));
        ++checked;
    }
    EXPECT_GE(checked, 26) << "the 19 labels and 7 buttons with a caption";
}

TEST_F(WindowLayout, ListsHaveTheirColumnsInOrder)
{
    const std::vector<std::pair<const char*, int>> products = {
        {"序号", 50},   {"商品ID", 100}, {"图片地址", 100}, {"商品标题", 400},
        {"销售价", 80}, {"市场价", 80},  {"已售", 60},      {"评论", 50}};
    auto* list = window.control<QTreeView>(names::ProductList);
    ASSERT_EQ(list->model()->columnCount(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), Utf(products[i].first));
        EXPECT_EQ(list->header()->sectionSize(i), products[i].second);
    }
    auto* members = window.control<QTreeView>(names::MemberList);
    ASSERT_EQ(members->model()->columnCount(), 19);
    EXPECT_EQ(members->model()->headerData(2, Qt::Horizontal).toString(), Utf("用户标识"));
    EXPECT_EQ(members->model()->headerData(17, Qt::Horizontal).toString(), Utf("头像"));
    EXPECT_EQ(members->header()->sectionSize(17), 500);
    EXPECT_EQ(members->model()->headerData(18, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(members->header()->sectionSize(18), 50);
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ(members->model()->rowCount(), 0);
}

TEST_F(WindowLayout, SchemaComboOffersBothGenerationsWithTheirValues)
{
    auto* combo = window.control<QComboBox>(names::SchemaCombo);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), Utf("0.52版数据库"));
    EXPECT_EQ(combo->itemData(0).toInt(), 52);
    EXPECT_EQ(combo->itemText(1), Utf("0.60版数据库"));
    EXPECT_EQ(combo->itemData(1).toInt(), 60);
    EXPECT_EQ(combo->currentIndex(), 0);
}

TEST_F(WindowLayout, MemberMenuIsAPopupNeverAMenuBar)
{
    EXPECT_EQ(window.findChildren<QMenuBar*>().size(), 0);
    QMenu& menu = window.memberMenu();
    EXPECT_EQ(menu.title(), Utf("菜单"));
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions().front()->text(), Utf("导出"));
    EXPECT_FALSE(menu.isVisible());
}

TEST_F(WindowLayout, ProductImportPageShowsOnlyItsLabel)
{
    window.tabs()->setCurrentIndex(4);
    QWidget* page = window.tabs()->widget(4);
    EXPECT_TRUE(window.control(names::ArticleLabel)->isVisible());
    EXPECT_FALSE(window.control(names::ArticleType)->isVisible());
    EXPECT_FALSE(window.control(names::ArticleImportButton)->isVisible());
    int visible = 0;
    for (QWidget* child : page->findChildren<QWidget*>()) {
        visible += child->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(visible, 1);
}

TEST_F(WindowLayout, PasswordFieldsShowAnAsteriskPerCharacter)
{
    for (const char* name : {names::BackendPassword, names::DatabasePassword}) {
        auto* edit = window.control<QLineEdit>(name);
        edit->setText(QStringLiteral("secret"));
        EXPECT_EQ(edit->displayText(), QStringLiteral("******")) << name;
    }
}

TEST_F(WindowLayout, StartAndExportButtonsUseTheBoldFourteenPixelFace)
{
    for (const char* name : {names::StartButton, names::ExportIdsButton, names::ExportAllButton}) {
        const QFont font = window.control(name)->font();
        EXPECT_TRUE(font.bold()) << name;
        EXPECT_EQ(font.pixelSize(), 14) << name;
        EXPECT_EQ(font.family(), Utf("微软雅黑")) << name;
    }
    for (const char* name : {names::ItemAreaStartLabel, names::ItemAreaEndLabel, names::TmallQueryStartLabel,
                             names::TmallQueryEndLabel, names::WarningLabel, names::DatabaseHostLabel,
                             names::DatabaseUserLabel, names::DatabasePasswordLabel, names::DatabaseNameLabel,
                             names::DatabasePortLabel, names::MemberStatusLabel, names::AccountIdLabel,
                             names::ConnectButton, names::ReadButton, names::UploadButton}) {
        EXPECT_TRUE(window.control(name)->font().bold()) << name;
    }
    EXPECT_FALSE(window.control(names::ShopAddressLabel)->font().bold());
}

TEST_F(WindowLayout, TestAreaBoxScrollsVerticallyAndTheSettingsBoxesTakeSeveralLines)
{
    auto* scratch = window.control<QPlainTextEdit>(names::TestText);
    EXPECT_EQ(scratch->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    window.tabs()->setCurrentIndex(3);
    EXPECT_TRUE(scratch->verticalScrollBar()->isVisible());

    window.tabs()->setCurrentIndex(1);
    auto* marker = window.control<QPlainTextEdit>(names::ItemAreaStart);
    marker->clear();
    marker->setFocus();
    QTest::keyClicks(marker, QStringLiteral("<a>"));
    QTest::keyClick(marker, Qt::Key_Return);
    QTest::keyClicks(marker, QStringLiteral("<b>"));
    EXPECT_EQ(marker->toPlainText(), QStringLiteral("<a>\n<b>"));
}

}  // namespace
}  // namespace korvel::test
