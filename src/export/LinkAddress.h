#pragma once

// Which picture addresses a workbook turns into hyperlinks. The page's own address is untrusted:
// a link may only open a web page, never run a script or open a local file.

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The address a click opens, for a web address: an http or https one as it stands, and one the
// page wrote without its scheme ("//img.example.com/a.jpg" or, as the patterns catch it,
// "img.example.com/a.jpg") over https. Percent-encoded to plain ASCII, so libxlsxwriter writes it
// as it is. Nothing for any other address (another scheme, no host, a blank before the host) and
// for one longer than the 2079 characters Excel follows.
std::optional<std::string> LinkTarget(std::string_view utf8Address);

}  // namespace korvel
