#pragma once

// The followed shops on the tab "店铺监控": added typed or from a list file, removed, and collected
// together by "全部采集" as one batch (BatchJob), with a stop button and, while a batch is left
// unfinished, the offer to continue it. The list and the batch's progress live in the store and
// are read and written off the window's thread, through the window's history connection.

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BatchJob.h"
#include "store/Store.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace korvel {

class WindowParts;

namespace batch_names {
inline constexpr char Followed[] = "关注店铺列表";
inline constexpr char HostField[] = "关注店铺地址";
inline constexpr char Add[] = "添加店铺";
inline constexpr char AddList[] = "导入店铺列表";
inline constexpr char Remove[] = "删除店铺";
inline constexpr char CollectAll[] = "全部采集";
inline constexpr char Stop[] = "停止批量采集";
inline constexpr char Continue[] = "继续批量采集";
inline constexpr char Status[] = "批量采集状态";
}  // namespace batch_names

// What the store holds for the panel.
struct FollowedState {
    std::vector<std::string> hosts;
    std::int64_t unfinished = 0;  // shops the window's batch has yet to collect
};

class BatchPanel : public QObject {
public:
    // `ended` hears that a batch has ended (the history has new runs).
    BatchPanel(WindowParts& window, std::function<void()> ended);
    ~BatchPanel() override;

    QWidget* widget() const { return panel_; }

private:
    // `fault` (UTF-8), when the edit leaves one, is shown after the list.
    void change(std::function<StoreResult<Done>(Store&)> edit, std::shared_ptr<std::string> fault = nullptr);
    void addTyped();
    void addListFile();
    void removeChosen();
    void collect(batch::BatchStart start);
    void show(const StoreResult<FollowedState>& state);
    void finish(const QString& text);
    void showRunning();

    WindowParts& window_;
    std::function<void()> ended_;
    QWidget* panel_;
    QListWidget* followed_;
    QLineEdit* host_;
    QPushButton* collectAll_;
    QPushButton* stop_;
    QPushButton* continue_;
    QLabel* status_;
    std::int64_t unfinished_ = 0;
    std::shared_ptr<Cancellation> job_;  // the running batch's
};

}  // namespace korvel
