#pragma once

// What the application says about itself before its first window: the names the desktop matches
// the window to its entry by (X11 window class, Wayland application id), and Qt's own texts in
// Chinese.

class QApplication;

namespace korvel {

// The window class: the desktop entry's StartupWMClass.
inline constexpr char ApplicationName[] = "korvel";

// False when Qt's Chinese texts could not be loaded; its dialogs then show English.
bool SetUpApplication(QApplication& app);

}  // namespace korvel
