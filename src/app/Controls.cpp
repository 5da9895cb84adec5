#include "app/Controls.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>

#include "app/PagePlacement.h"

namespace korvel {
namespace {

template <class T>
T* Place(T* control, const char* name, QRect at)
{
    control->setObjectName(QString::fromUtf8(name));
    SetLayoutRect(control, at);
    return control;
}

// The controls' sizes were made for another face: a caption that would be cut off in this one is
// set narrower (down to three quarters of its width, its height kept) so that no control moves.
void FitCaption(QLabel* label)
{
    constexpr int NarrowestStretch = 75;
    const int room = label->contentsRect().width() - 2 * label->margin();
    QFont font = label->font();
    for (int stretch = 100; stretch >= NarrowestStretch; stretch -= 2) {
        font.setStretch(stretch);
        // The text's extent rounded up, not its rounded advance: a last column half covered is cut.
        if (QFontMetrics(font).size(Qt::TextSingleLine, label->text()).width() <= room) {
            if (stretch < 100) {
                label->setFont(font);
            }
            return;
        }
    }
}

}  // namespace

QLabel* MakeLabel(QWidget* parent, const char* name, QRect at, const char* caption)
{
    QLabel* label = Place(new QLabel(QString::fromUtf8(caption), parent), name, at);
    FitCaption(label);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect at, const char* text)
{
    return Place(new QLineEdit(QString::fromUtf8(text), parent), name, at);
}

QLineEdit* MakePasswordEdit(QWidget* parent, const char* name, QRect at)
{
    QLineEdit* edit = MakeEdit(parent, name, at, "");
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QPlainTextEdit* MakeMultiLineEdit(QWidget* parent, const char* name, QRect at, const char* text,
                                  bool verticalScrollBar)
{
    auto* edit = Place(new QPlainTextEdit(QString::fromUtf8(text), parent), name, at);
    edit->setVerticalScrollBarPolicy(verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, QRect at, const char* caption)
{
    auto* button = Place(new QPushButton(QString::fromUtf8(caption), parent), name, at);
    button->setAutoDefault(false);
    return button;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, QRect at)
{
    return Place(new QGroupBox(parent), name, at);
}

QComboBox* MakeComboBox(QWidget* parent, const char* name, QRect at, const std::vector<ComboItem>& items)
{
    auto* combo = Place(new QComboBox(parent), name, at);
    for (const ComboItem& item : items) {
        combo->addItem(QString::fromUtf8(item.text), item.value);
    }
    combo->setCurrentIndex(0);
    return combo;
}

QStringList ColumnTitles(const std::vector<ListColumn>& columns)
{
    QStringList titles;
    for (const ListColumn& column : columns) {
        titles << QString::fromUtf8(column.title);
    }
    return titles;
}

QTreeView* MakeListView(QWidget* parent, const char* name, QRect at, QAbstractItemModel* model,
                        const std::vector<ListColumn>& columns)
{
    auto* view = Place(new QTreeView(parent), name, at);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(model);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        view->header()->resizeSection(i, columns[i].width);
    }
    return view;
}

void MakeBold(QWidget* control)
{
    QFont font = control->font();
    font.setBold(true);
    control->setFont(font);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        FitCaption(label);
    }
}

}  // namespace korvel
