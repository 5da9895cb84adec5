#pragma once

#include <string>
#include <string_view>

namespace korvel {

// UTF-8 text with its HTML character references replaced by the characters they stand for: the
// named &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric ones (&#39; &#x4E2D;). One pass, so
// "&amp;lt;" becomes "&lt;"; a reference that names no character (unknown name, zero, a
// surrogate, beyond U+10FFFF, no closing ";") stays as written.
std::string DecodeCharacterReferences(std::string_view utf8);

}  // namespace korvel
