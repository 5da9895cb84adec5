#pragma once

// Test-side GBK through glibc's iconv, independent of Korvel's own converters, so a message
// written as escapes can be checked against the Chinese text it is meant to spell.

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace korvel::test {

inline std::string Recode(const std::string& text, const char* to, const char* from)
{
    const iconv_t converter = ::iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv cannot convert");
    std::string input = text;
    std::vector<char> output(text.size() * 4 + 4);
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    const size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == static_cast<size_t>(-1))
        throw std::runtime_error("text does not convert: " + text);
    return std::string(output.data(), output.size() - outLeft);
}

// The GBK bytes of a UTF-8 text written in a test.
inline std::string Gbk(const std::string& utf8)
{
    return Recode(utf8, "GBK", "UTF-8");
}
inline std::string Utf8(const std::string& gbk)
{
    return Recode(gbk, "UTF-8", "GBK");
}

}  // namespace korvel::test
