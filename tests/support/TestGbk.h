#pragma once

// GBK texts written readably in tests as UTF-8. A text that GBK cannot hold whole is a mistake
// in the test, so it throws instead of carrying "?" into a comparison.

#include <algorithm>
#include <stdexcept>
#include <string>

#include "text/Gbk.h"

namespace korvel::test {

inline std::string Gbk(const std::string& utf8)
{
    std::string gbk = gbk::FromUtf8(utf8);
    if (std::count(gbk.begin(), gbk.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
        throw std::runtime_error("GBK cannot hold this test text: " + utf8);
    return gbk;
}

inline std::string Utf8(const std::string& gbk)
{
    return gbk::ToUtf8(gbk);
}

}  // namespace korvel::test
