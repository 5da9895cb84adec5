#pragma once

// The collection run's screen on a console: fixed address and settings, labels as progress lines,
// message boxes as lines, and the product list kept in memory for the exports.

#include <chrono>
#include <string>
#include <vector>

#include "Terminal.h"
#include "collect/CollectionScreen.h"
#include "collect/DiscoverPages.h"
#include "export/ExportScreen.h"

namespace korvel::console {

class ConsoleScreen : public CollectionScreen, public ListView, public MessageBox {
public:
    ConsoleScreen(std::string address, CollectionSettings settings, Terminal& terminal);

    std::string shopAddress() override { return address_; }
    std::string itemAreaStart() override { return settings_.itemAreaStart; }
    std::string itemAreaEnd() override { return settings_.itemAreaEnd; }
    std::string tmallQueryStart() override { return settings_.tmallQueryStart; }
    std::string tmallQueryEnd() override { return settings_.tmallQueryEnd; }

    void setStartButton(const std::string&, bool) override {}
    // On a terminal one line shows the page, the products and the time taken; elsewhere every
    // caption is a line of its own.
    void setTotalLabel(const std::string& caption) override;
    void pageStarted(int page, int pageCount) override;
    // On a terminal the progress line goes on counting the seconds while a page is awaited.
    bool await(const std::function<void()>& work) override;
    void setPageCountLabel(const std::string& caption) override { terminal_.line(caption); }

    void clearRows() override { rows_.clear(); }
    void appendRow() override { rows_.emplace_back(Columns); }
    void setCell(int row, int column, const std::string& text) override;
    bool processEvents() override { return true; }

    // Shown as "title: message".
    void showMessage(const std::string& message, const std::string& title) override;

    int rows() const override { return static_cast<int>(rows_.size()); }
    int columns() const override { return Columns; }
    std::string cellText(int row, int column) const override;

private:
    static constexpr int Columns = 8;
    void showProgress();

    std::string address_;
    CollectionSettings settings_;
    Terminal& terminal_;
    std::vector<std::vector<std::string>> rows_;
    int page_ = 0;
    int pageCount_ = 0;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point shown_{};
};

}  // namespace korvel::console
