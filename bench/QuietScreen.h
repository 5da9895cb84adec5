#pragma once

// A collection screen for benchmarks: it keeps the rows and the last message, nothing else.

#include <chrono>
#include <string>
#include <vector>

#include "collect/CollectionScreen.h"
#include "collect/DiscoverPages.h"
#include "collect/RunCollection.h"

namespace korvel {

class QuietScreen : public CollectionScreen {
public:
    explicit QuietScreen(std::string host) : host_(std::move(host)) {}
    std::string shopAddress() override { return host_; }
    std::string itemAreaStart() override { return settings_.itemAreaStart; }
    std::string itemAreaEnd() override { return settings_.itemAreaEnd; }
    std::string tmallQueryStart() override { return settings_.tmallQueryStart; }
    std::string tmallQueryEnd() override { return settings_.tmallQueryEnd; }
    void setStartButton(const std::string&, bool) override {}
    void setTotalLabel(const std::string&) override {}
    void setPageCountLabel(const std::string&) override {}
    void clearRows() override { rows.clear(); }
    void appendRow() override { rows.emplace_back(8); }
    void setCell(int row, int column, const std::string& text) override { rows[row][column] = text; }
    bool processEvents() override { return true; }
    void showMessage(const std::string& message, const std::string&) override { lastMessage = message; }

    std::vector<std::vector<std::string>> rows;
    std::string lastMessage;

private:
    std::string host_;
    CollectionSettings settings_ = DefaultCollectionSettings();
};

// Seconds for one whole run of the shop at `host`; negative when the run did not collect every page
// and product.
inline double TimedRun(const std::string& host, std::size_t expectedRows)
{
    QuietScreen screen(host);
    const auto start = std::chrono::steady_clock::now();
    const RunOutcome outcome = RunCollection(screen);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome == RunOutcome::Collected && screen.rows.size() == expectedRows ? seconds : -1;
}

}  // namespace korvel
