#include "app/ArticlePage.h"
#include "app/ControlNames.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ControlText.h"
#include "app/GbkCodec.h"
#include "app/ProductTableModel.h"
#include "app/WindowParts.h"
#include "articles/ImportArticles.h"
#include "text/Text.h"

namespace korvel {
namespace {

constexpr char OpenFailed[] = "数据库打开失败！";
constexpr char OpenFailedTitle[] = "信息：";
constexpr char StoredPrefix[] = "已经入库数：";

// The ODBC database component: no window of its own, one connection kept between imports.
class ArticleDatabaseComponent : public QObject {
public:
    explicit ArticleDatabaseComponent(QObject* parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("外部数据库1"));
    }
    OdbcDatabase database;
};

class WindowArticleScreen : public ArticleScreen {
public:
    explicit WindowArticleScreen(WindowParts& window) : window_(window) {}

    int productRowCount() override { return window_.productList().rows(); }
    std::string productCell(int row, int column) override { return window_.productList().cell(row, column); }
    std::string articleType() override { return ControlText(window_.control<QLineEdit>(names::ArticleType)); }
    void stored(int rows) override
    {
        SetControlText(window_.control<QLabel>(names::ArticleLabel), Utf8ToGbk(StoredPrefix) + IntToText(rows));
    }
    std::string programDirectory() override
    {
        return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    }

private:
    WindowParts& window_;
};

}  // namespace

void AttachArticleImport(WindowParts& window)
{
    auto* component = new ArticleDatabaseComponent(&window.widget());
    QObject::connect(window.control<QPushButton>(names::ArticleImportButton), &QPushButton::clicked,
                     component, [&window, component] {
                         WindowArticleScreen screen(window);
                         if (ImportArticles(screen, component->database) == ArticleImportEnd::OpenFailed) {
                             window.showMessage(Utf8ToGbk(OpenFailed), Utf8ToGbk(OpenFailedTitle));
                         }
                     });
}

}  // namespace korvel
