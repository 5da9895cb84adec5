#pragma once

// The page "商品导入": its hidden button 按钮11 starts the article import, and the database
// component 外部数据库1 keeps its connection for as long as the window lives.

namespace korvel {

class WindowParts;

// Makes 外部数据库1 (a child of the window, found by that name) and connects 按钮11 to the import.
void AttachArticleImport(WindowParts& window);

}  // namespace korvel
