#pragma once

// Makes the window's controls. Every control carries its own name as its objectName, so any page's
// code finds it with findChild. Positions count from the tab control's corner
// for controls on a page (PagePlacement moves them onto the page) and from the group box for
// controls inside one.

#include <QRect>
#include <QStringList>
#include <vector>

class QAbstractItemModel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class QWidget;

namespace korvel {

// A caption too wide for the label in the window's face is set narrower, never cut off.
QLabel* MakeLabel(QWidget* parent, const char* name, QRect at, const char* caption);
QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect at, const char* text);
// Shows "*" for every character through the tab control's style sheet.
QLineEdit* MakePasswordEdit(QWidget* parent, const char* name, QRect at);
QPlainTextEdit* MakeMultiLineEdit(QWidget* parent, const char* name, QRect at, const char* text,
                                  bool verticalScrollBar = false);
QPushButton* MakeButton(QWidget* parent, const char* name, QRect at, const char* caption);
QGroupBox* MakeGroupBox(QWidget* parent, const char* name, QRect at);

struct ComboItem {
    const char* text;
    int value;
};
QComboBox* MakeComboBox(QWidget* parent, const char* name, QRect at, const std::vector<ComboItem>& items);

struct ListColumn {
    const char* title;
    int width;
};
QStringList ColumnTitles(const std::vector<ListColumn>& columns);
// A report-style list over `model`, which must have the same columns.
QTreeView* MakeListView(QWidget* parent, const char* name, QRect at, QAbstractItemModel* model,
                        const std::vector<ListColumn>& columns);

// Bold, and for a label a caption still fitted to it.
void MakeBold(QWidget* control);

}  // namespace korvel
