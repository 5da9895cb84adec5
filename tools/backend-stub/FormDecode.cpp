#include <string>
#include <utility>
#include <vector>

#include "backend-stub/BackendStub.h"

namespace korvel::tools {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> DecodeForm(const std::string& body)
{
    std::vector<std::pair<std::string, std::string>> fields;
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find('&', start);
        if (end == std::string::npos) {
            end = body.size();
        }
        const std::string piece = body.substr(start, end - start);
        if (!piece.empty()) {
            const size_t equals = piece.find('=');
            fields.emplace_back(Unescape(piece.substr(0, equals)), equals == std::string::npos
                                                                       ? std::string()
                                                                       : Unescape(piece.substr(equals + 1)));
        }
        start = end + 1;
    }
    return fields;
}

}  // namespace korvel::tools
