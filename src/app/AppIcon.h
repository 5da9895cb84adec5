#pragma once

#include <QIcon>

namespace korvel {

// Korvel's own icon, drawn at 128, 96, 64, 48, 32, 24 and 16 pixels square.
QIcon MakeAppIcon();

}  // namespace korvel
