#pragma once

// The window as the article import sees it: a product list, the article-type field, and a record
// of every count it was given.

#include <string>
#include <utility>
#include <vector>

#include "articles/ArticleScreen.h"

namespace korvel::test {

class FakeArticleScreen : public ArticleScreen {
public:
    explicit FakeArticleScreen(std::string folder) : folder_(std::move(folder)) {}

    int productRowCount() override { return static_cast<int>(rows.size()); }
    std::string productCell(int row, int column) override { return rows.at(row).at(column); }
    std::string articleType() override { return type; }
    void stored(int count) override { counts.push_back(count); }
    std::string programDirectory() override { return folder_; }

    // Eight columns, as the collection run fills them.
    void addProduct(const std::string& number, const std::string& id, const std::string& title = "")
    {
        rows.push_back({number, id, "img.example/" + id + ".jpg", title, "9.90", "19.90", "3", "1"});
    }

    std::vector<std::vector<std::string>> rows;
    std::string type;
    std::vector<int> counts;

private:
    std::string folder_;
};

}  // namespace korvel::test
