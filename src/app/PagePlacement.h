#pragma once

// The window's control positions count from the tab control's own corner, tab strip included; a
// Qt page starts below the strip. Controls placed at those numbers inside the page would sit about
// 26 px low and the bottom row would be cut off. So each control keeps its intended rectangle, and
// once the tab control has laid out its pages every control is moved by the page's offset.
// Controls inside a group box count from the box and are placed as given.

#include <QRect>

class QTabWidget;
class QWidget;

namespace korvel {

void SetLayoutRect(QWidget* control, QRect at);
QRect LayoutRect(const QWidget* control);

// Keeps the controls of every page of `tabs` at their intended rectangles, now and whenever the
// tab control lays its pages out again.
void KeepPagesInLayout(QTabWidget* tabs);

}  // namespace korvel
