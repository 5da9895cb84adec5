#pragma once

// What the article import needs of the window: the product list, the hidden article-type field,
// somewhere to count the rows stored, and the folder the program lives in.

#include <string>

namespace korvel {

class ArticleScreen {
public:
    virtual ~ArticleScreen() = default;

    // The product list 超级列表框1, read by column position.
    virtual int productRowCount() = 0;
    virtual std::string productCell(int row, int column) = 0;

    virtual std::string articleType() = 0;  // 编辑框14
    // After each row: `rows` rows have been through the database.
    virtual void stored(int rows) = 0;

    // The folder holding the program's executable, without a trailing separator, in the file
    // system's own encoding (the bytes open() takes).
    virtual std::string programDirectory() = 0;
};

}  // namespace korvel
