#pragma once

// What the exports need of the window: the product list, and the shared save dialog.

#include <string>

namespace korvel {

// Every row the list holds, whatever a view has shown of it yet.
class ListView {
public:
    virtual ~ListView() = default;
    virtual int rows() const = 0;
    virtual int columns() const = 0;
    virtual std::string cellText(int row, int column) const = 0;
};

// One dialog component shared by both exports: it keeps the last confirmed path and proposes it.
class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // Filter written as "description|pattern|description|pattern…".
    virtual void setFilter(const std::string& filter) = 0;
    virtual void setDefaultExtension(const std::string& extension) = 0;
    // True when the user confirmed; fileName() then holds the chosen full path, in the file
    // system's own encoding (the bytes open() takes), not GBK.
    [[nodiscard]] virtual bool show() = 0;
    virtual std::string fileName() const = 0;
    // The filter chosen when the user confirmed, from 0 in the order setFilter() gave them.
    virtual int chosenFilter() const = 0;
};

}  // namespace korvel
