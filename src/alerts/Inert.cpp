#include "alerts/Inert.h"

namespace korvel::alerts {
namespace {

constexpr std::string_view MarkdownSpecials = "\\`*_[]()~|#!";

}  // namespace

std::string Inert(std::string_view utf8, Rendering rendering)
{
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            out += ' ';
        else if (c == '<')
            out += "＜";
        else if (c == '>')
            out += "＞";
        else if (rendering == Rendering::Markdown && MarkdownSpecials.find(c) != std::string_view::npos)
            (out += '\\') += c;
        else
            out += c;
    }
    return out;
}

}  // namespace korvel::alerts
