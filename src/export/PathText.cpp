#include "export/PathText.h"

#include <iconv.h>

#include <vector>

namespace korvel {

std::string PathAsGbk(const std::string& path)
{
    const iconv_t converter = ::iconv_open("GBK", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return path;
    std::string input = path;
    std::vector<char> output(path.size() * 2 + 1);
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    const size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == static_cast<size_t>(-1))
        return path;
    return std::string(output.data(), output.size() - outLeft);
}

}  // namespace korvel
