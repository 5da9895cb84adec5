#pragma once

// The collection run's view of the window: the address and settings fields, the start button,
// the two counter labels and the product list.
//
// The run's requests wait on a thread of their own; the window keeps handling its events meanwhile
// (repaints, tab switches, a close, which cancels them). The run lets the window process its
// events once per product and once per page. That stays cheap because nothing
// asks for a repaint per product: the list announces its new rows and the total label takes its
// newest caption at most every 50 ms, so a processEvents() call usually finds nothing to do
// beyond the user's own input.

#include <string>

#include "app/Throttle.h"
#include "collect/CollectionScreen.h"

class QLabel;
class QPushButton;

namespace korvel {

class MainWindow;

class WindowCollectionScreen : public CollectionScreen {
public:
    explicit WindowCollectionScreen(MainWindow& window);
    ~WindowCollectionScreen() override;

    std::string shopAddress() override;
    std::string itemAreaStart() override;
    std::string itemAreaEnd() override;
    std::string tmallQueryStart() override;
    std::string tmallQueryEnd() override;

    void setStartButton(const std::string& caption, bool enabled) override;
    void setTotalLabel(const std::string& caption) override;
    void setPageCountLabel(const std::string& caption) override;

    void clearRows() override;
    void appendRow() override;
    void setCell(int row, int column, const std::string& text) override;

    bool processEvents() override;
    void showMessage(const std::string& message, const std::string& title) override;
    // Runs the requests on a thread of their own while the window goes on handling its events.
    bool await(const std::function<void()>& work) override;

    // Brings the list and the labels up to date at once.
    void present();

private:
    std::string fieldText(const char* name) const;

    MainWindow& window_;
    QPushButton* startButton_;
    QLabel* totalLabel_;
    QLabel* pageCountLabel_;
    std::string totalCaption_;
    Throttle totalLabelUpdate_;
};

}  // namespace korvel
