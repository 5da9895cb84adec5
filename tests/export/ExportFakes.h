#pragma once

// A product list, a save dialog answered in advance and a log of the results, for the
// exports to run against without a window.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "collect/Product.h"
#include "export/ExportScreen.h"
#include "export/Exports.h"
#include "text/Text.h"

namespace korvel::test {

struct TableList : ListView {
    int width = 8;
    std::vector<std::vector<std::string>> cells;

    int rows() const override { return static_cast<int>(cells.size()); }
    int columns() const override { return width; }
    std::string cellText(int row, int column) const override { return cells.at(row).at(column); }
};

// Products made from rows as the list shows them: 序号 (empty for none), then the seven fields.
struct ProductList {
    std::vector<Product> products;

    void add(const std::vector<std::string>& cells)
    {
        Product p{cells.at(1), cells.at(2), cells.at(3), cells.at(4), cells.at(5), cells.at(6), cells.at(7)};
        p.position = ToInteger(cells.at(0));
        products.push_back(std::move(p));
    }
    operator RunProducts() const { return RunProducts(products); }
    operator CurrentProducts() const
    {
        return [this] { return RunProducts(products); };
    }
};

// What the dialog was set to each time it opened.
struct DialogOpening {
    std::string filter;
    std::string defaultExtension;
};

struct ScriptedDialog : SaveDialog {
    std::deque<std::optional<std::string>> answers;  // nullopt = the user cancels
    std::vector<DialogOpening> opened;
    std::function<void()> whileOpen;  // what the window does while the dialog is up
    DialogOpening settings;
    std::string chosen;
    int chosenIndex = 0;  // the filter the user chooses

    void setFilter(const std::string& filter) override { settings.filter = filter; }
    void setDefaultExtension(const std::string& extension) override { settings.defaultExtension = extension; }
    std::string fileName() const override { return chosen; }
    int chosenFilter() const override { return chosenIndex; }
    bool show() override
    {
        opened.push_back(settings);
        if (whileOpen)
            whileOpen();
        const auto answer = answers.front();
        answers.pop_front();
        if (answer)
            chosen = *answer;
        return answer.has_value();
    }
};

// Every result an export ended with, in order; true for one that wrote its file.
struct ResultLog {
    std::vector<ExportResult> seen;
    bool operator()(ExportResult result)
    {
        seen.push_back(result);
        return result.written();
    }
};

}  // namespace korvel::test
