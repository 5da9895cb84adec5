#pragma once

// The text of a control as GBK bytes, and back: what every operation reads from an edit box or
// writes into a label or button caption. Works on labels, edit boxes (single and multi-line),
// buttons and group boxes; other controls read as empty and ignore writes.

#include <string>

class QWidget;

namespace korvel {

std::string ControlText(const QWidget* control);
void SetControlText(QWidget* control, const std::string& gbk);

}  // namespace korvel
