#pragma once

// The kept marketplace session from the window: a button below the five pages (nothing on them
// moves) whose menu signs in with the built-in browser, brings the session from a browser profile
// or a cookies.txt file, or forgets it. Its caption says whether a session is kept.

namespace korvel {

class WindowParts;

inline constexpr char SignInButtonName[] = "登录状态";

void AttachSignIn(WindowParts& window);

}  // namespace korvel
