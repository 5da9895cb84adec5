#include "demo-shop/ShopGbk.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace korvel::demo {
namespace {

// One converter per thread, opened once: pages and expected records convert many small texts.
iconv_t Converter()
{
    struct Holder {
        iconv_t cd = iconv_open("GBK", "UTF-8");
        ~Holder()
        {
            if (cd != reinterpret_cast<iconv_t>(-1))
                iconv_close(cd);
        }
    };
    thread_local Holder holder;
    if (holder.cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv has no GBK converter");
    iconv(holder.cd, nullptr, nullptr, nullptr, nullptr);
    return holder.cd;
}

}  // namespace

std::string ToGbk(std::string_view utf8)
{
    iconv_t cd = Converter();
    std::string out(utf8.size() + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (outLeft < 8) {
            const size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = out.size() - used;
        }
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        // A character GBK cannot hold (or a broken sequence): one "?" for the whole sequence.
        *dst++ = '?';
        --outLeft;
        do {
            ++in;
            --inLeft;
        } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace korvel::demo
