#include "app/PagePlacement.h"

#include <QEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVariant>

namespace korvel {
namespace {

constexpr char kLayoutRect[] = "korvelLayoutRect";

void PlacePage(QTabWidget* tabs, QWidget* page)
{
    const QPoint offset = page->mapTo(tabs, QPoint(0, 0));
    for (QObject* child : page->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control != nullptr && control->property(kLayoutRect).isValid()) {
            control->setGeometry(LayoutRect(control).translated(-offset));
        }
    }
}

void PlaceAll(QTabWidget* tabs)
{
    for (int i = 0; i < tabs->count(); ++i) {
        PlacePage(tabs, tabs->widget(i));
    }
}

// The pages move when the tab control's stack of pages is given its place.
class PageOffsetWatch : public QObject {
public:
    explicit PageOffsetWatch(QTabWidget* tabs) : QObject(tabs), tabs_(tabs) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
            PlaceAll(tabs_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTabWidget* tabs_;
};

}  // namespace

void SetLayoutRect(QWidget* control, QRect at)
{
    control->setProperty(kLayoutRect, at);
    control->setGeometry(at);
}

QRect LayoutRect(const QWidget* control)
{
    return control->property(kLayoutRect).toRect();
}

void KeepPagesInLayout(QTabWidget* tabs)
{
    auto* stack = tabs->findChild<QStackedWidget*>();
    if (stack != nullptr) {
        stack->installEventFilter(new PageOffsetWatch(tabs));
    }
    PlaceAll(tabs);
}

}  // namespace korvel
