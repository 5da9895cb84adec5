#include "articles/ImportArticles.h"

#include <string>

namespace korvel {

ArticleImportEnd ImportArticles(ArticleScreen& screen, OdbcDatabase& database)
{
    const std::string path = screen.programDirectory() + "/" + ArticleDatabaseName;
    if (!database.openAccess(path)) {
        return ArticleImportEnd::OpenFailed;
    }
    const int rowCount = screen.productRowCount();
    for (int row = 0; row < rowCount; ++row) {
        // A failed row changes nothing the user could act on mid-run: the count goes on regardless.
        static_cast<void>(
            database.execute(InsertArticleStatement,
                             {screen.productCell(row, 0), screen.productCell(row, 1), screen.articleType()}));
        screen.stored(row + 1);
    }
    return ArticleImportEnd::Done;
}

}  // namespace korvel
