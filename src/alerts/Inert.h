#pragma once

// What a shop page wrote (a title, an ID, a price) made harmless inside a chat message: it stays
// on its line, and it cannot become a link, a picture, emphasis, a table or a tag. A chat robot's
// tags are how it mentions people (WeCom's <@userid>, Feishu's <at user_id="all">), and Feishu
// reads them in plain text too, so angle brackets become their full-width forms in every rendering.
// Markdown escapes with a backslash only what can start markup inside a line.

#include <string>
#include <string_view>

#include "alerts/AlertMessage.h"

namespace korvel::alerts {

std::string Inert(std::string_view utf8, Rendering rendering);

}  // namespace korvel::alerts
