#pragma once

// The article import: one row of the Access table Artitle per product-list row.

#include "articles/ArticleScreen.h"
#include "articles/OdbcDatabase.h"

namespace korvel {

// The database file, in the program's folder.
inline constexpr char ArticleDatabaseName[] = "#ZUDOZ.Mdb";

// The values are bound, never pasted between quotes: an apostrophe in a title or product ID is
// stored as it is instead of ending the literal.
inline constexpr char InsertArticleStatement[] =
    "insert into Artitle ([Title],[Content],[Article_Type]) values (?,?,?)";

enum class ArticleImportEnd { Done, OpenFailed };

// Opens the database through `database` (the window's 外部数据库1) and inserts every product-list
// row: Title the row number (column 0), Content the product ID (column 1), Article_Type the text
// of 编辑框14. A row whose statement fails is skipped, and still counted. When the database cannot be
// opened nothing is read or counted.
[[nodiscard]] ArticleImportEnd ImportArticles(ArticleScreen& screen, OdbcDatabase& database);

}  // namespace korvel
