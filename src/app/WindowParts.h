#pragma once

// What a page sees of the window it is part of: its controls by name (ControlNames.h), the shared
// lists and dialog, the message boxes, the job runner and the one history connection. The pages
// are built on this, the main window implements it and includes the pages: nothing a page does
// reaches back up into the main window's own file.

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

#include "app/AppConstants.h"

class QAction;
class QMenu;
class QTabWidget;

namespace korvel {

class GbkTableModel;
class JobRunner;
class ProductTableModel;
class SaveDialogComponent;
class StoreWorker;

class WindowParts {
public:
    virtual ~WindowParts() = default;

    // The window itself: the parent of what a page makes, the context of what it connects.
    virtual QWidget& widget() const = 0;
    template <class T = QWidget>
    T* control(std::string_view name) const
    {
        return widget().findChild<T*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    virtual QTabWidget* tabs() const = 0;
    virtual const AppConstants& constants() const = 0;

    virtual ProductTableModel& productList() const = 0;   // 超级列表框1
    virtual GbkTableModel& memberList() const = 0;        // 超级列表框2
    virtual SaveDialogComponent& saveDialog() const = 0;  // 通用对话框1
    // The popup menu "菜单" of the member list and its single item "导出". Never a menu bar.
    virtual QMenu& memberMenu() const = 0;
    virtual QAction& memberExportAction() const = 0;

    // A modal box with the message, the title ("信息：" when empty) and one OK button, no icon.
    // Shows nothing once the window is closing.
    virtual void showMessage(const std::string& gbkMessage, const std::string& gbkTitle = {}) = 0;
    // The same with the error icon, for the one message that carries it.
    virtual void showError(const std::string& gbkMessage, const std::string& gbkTitle = {}) = 0;

    virtual JobRunner& jobs() = 0;
    virtual StoreWorker& history() = 0;
    virtual bool closing() const = 0;
};

}  // namespace korvel
