#pragma once

// A collection run's screen with nothing shown, for a batch's shops: its rows become the run's
// products, its last message the cause of a failure or of lost pages.

#include <functional>
#include <string>
#include <vector>

#include "collect/CollectionRun.h"
#include "collect/CollectionScreen.h"
#include "collect/DiscoverPages.h"

namespace korvel::console {

class QuietScreen : public CollectionScreen {
public:
    QuietScreen(std::string host, std::function<void(int, int)>& page)
        : host_(std::move(host)), settings_(DefaultCollectionSettings()), page_(page)
    {
    }

    std::string shopAddress() override { return host_; }
    std::string itemAreaStart() override { return settings_.itemAreaStart; }
    std::string itemAreaEnd() override { return settings_.itemAreaEnd; }
    std::string tmallQueryStart() override { return settings_.tmallQueryStart; }
    std::string tmallQueryEnd() override { return settings_.tmallQueryEnd; }
    void setStartButton(const std::string&, bool) override {}
    void setTotalLabel(const std::string&) override {}
    void setPageCountLabel(const std::string&) override {}
    void pageStarted(int page, int pageCount) override
    {
        pages_ = pageCount;
        current_ = page;
        page_(page, pageCount);
    }
    void clearRows() override
    {
        rows_.clear();
        pageOf_.clear();
    }
    void appendRow() override
    {
        rows_.emplace_back(8);
        pageOf_.push_back(current_);
    }
    void setCell(int row, int column, const std::string& text) override
    {
        if (row >= 0 && static_cast<size_t>(row) < rows_.size() && column >= 0 && column < 8)
            rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
    }
    bool processEvents() override { return !cancellation().cancelled(); }
    void showMessage(const std::string& message, const std::string&) override { message_ = message; }

    std::vector<Product> products() const
    {
        std::vector<Product> products;
        for (size_t i = 0; i < rows_.size(); ++i) {
            const auto& r = rows_[i];
            products.push_back({r[1], r[2], r[3], r[4], r[5], r[6], r[7], pageOf_[i], static_cast<int>(i) + 1});
        }
        return products;
    }
    int pages() const { return pages_; }
    const std::string& message() const { return message_; }

private:
    std::string host_;
    CollectionSettings settings_;
    std::function<void(int, int)>& page_;
    std::vector<std::vector<std::string>> rows_;
    int pages_ = 0;
    int current_ = 1;
    std::vector<int> pageOf_;  // the page each row came from
    std::string message_;
};


}  // namespace korvel::console
