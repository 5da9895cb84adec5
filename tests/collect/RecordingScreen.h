#pragma once

// A collection screen that remembers everything a run did to it, with the settings fields at
// their start-up texts.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "collect/CollectionScreen.h"
#include "collect/DiscoverPages.h"

namespace korvel::test {

struct RecordingScreen : CollectionScreen {
    std::string address;
    CollectionSettings settings = DefaultCollectionSettings();

    std::vector<std::pair<std::string, bool>> buttonStates;
    std::vector<std::string> totalLabels;  // every caption 标签1 was given
    std::string totalLabel = "initial total label";
    std::string pageCountLabel = "initial page label";
    std::vector<std::vector<std::string>> rows;
    std::vector<std::pair<std::string, std::string>> messages;  // message, title
    // The button and 标签1 as they stood when the last message box opened.
    std::pair<std::string, bool> buttonAtMessage;
    std::string totalLabelAtMessage;
    int eventRounds = 0;
    // Runs in every processEvents: the user acting while the run goes on. False closes the window.
    std::function<bool(RecordingScreen&)> duringEvents;

    std::string shopAddress() override { return address; }
    std::string itemAreaStart() override { return settings.itemAreaStart; }
    std::string itemAreaEnd() override { return settings.itemAreaEnd; }
    std::string tmallQueryStart() override { return settings.tmallQueryStart; }
    std::string tmallQueryEnd() override { return settings.tmallQueryEnd; }

    void setStartButton(const std::string& caption, bool enabled) override
    {
        buttonStates.emplace_back(caption, enabled);
    }
    void setTotalLabel(const std::string& caption) override
    {
        totalLabels.push_back(caption);
        totalLabel = caption;
    }
    void setPageCountLabel(const std::string& caption) override { pageCountLabel = caption; }

    void clearRows() override { rows.clear(); }
    void appendRow() override { rows.emplace_back(8); }
    void setCell(int row, int column, const std::string& text) override { rows.at(row).at(column) = text; }
    bool processEvents() override
    {
        ++eventRounds;
        return duringEvents ? duringEvents(*this) : true;
    }
    void showMessage(const std::string& message, const std::string& title) override
    {
        messages.emplace_back(message, title);
        buttonAtMessage = buttonStates.empty() ? std::make_pair(std::string(), false) : buttonStates.back();
        totalLabelAtMessage = totalLabel;
    }
};

}  // namespace korvel::test
