#include "articles/ImportArticles.h"

#include <string>

#include "articles/ArticleMessages.h"
#include "text/Text.h"

namespace korvel {

void ImportArticles(ArticleScreen& screen, OdbcDatabase& database)
{
    const std::string path = screen.programDirectory() + "/" + ArticleDatabaseName;
    if (!database.openAccess(path)) {
        screen.showMessage(article_text::OpenFailed, article_text::OpenFailedTitle);
        return;
    }
    const int rowCount = screen.productRowCount();
    for (int row = 0; row < rowCount; ++row) {
        // A failed row changes nothing the user could act on mid-run: the count goes on regardless.
        static_cast<void>(
            database.execute(InsertArticleStatement,
                             {screen.productCell(row, 0), screen.productCell(row, 1), screen.articleType()}));
        screen.setProgressLabel(article_text::ProgressPrefix + IntToText(row + 1));
    }
}

}  // namespace korvel
