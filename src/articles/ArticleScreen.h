#pragma once

// What the article import needs of the window: the product list, the hidden article-type field,
// the progress label, a message box and the folder the program lives in.

#include <string>

namespace korvel {

class ArticleScreen {
public:
    virtual ~ArticleScreen() = default;

    // The product list 超级列表框1, read by column position.
    virtual int productRowCount() = 0;
    virtual std::string productCell(int row, int column) = 0;

    virtual std::string articleType() = 0;                          // 编辑框14
    virtual void setProgressLabel(const std::string& caption) = 0;  // 标签5

    // A modal box with the message, the title and one OK button, without icon.
    virtual void showMessage(const std::string& message, const std::string& title) = 0;

    // The folder holding the program's executable, without a trailing separator, in the file
    // system's own encoding (the bytes open() takes).
    virtual std::string programDirectory() = 0;
};

}  // namespace korvel
