#pragma once

#include <QIcon>

namespace korvel {

// Korvel's own icon, a shopping bag taking in a product, at every size the installed theme has
// (16 to 256 pixels square): the PNGs rendered from data/icons, compiled into the program.
QIcon MakeAppIcon();

}  // namespace korvel
