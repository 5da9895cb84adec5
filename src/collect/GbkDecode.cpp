#include "collect/GbkDecode.h"

#include <unicode/ucnv.h>

#include <cstdint>
#include <cstring>
#include <future>
#include <vector>

namespace korvel {
namespace {

constexpr std::size_t kMarkStride = 16;
// The longest UTF-8 form of one GBK byte (U+FFFD or the euro sign, three bytes each).
constexpr std::size_t kMaxGrowth = 3;

// One decoded character: up to three UTF-8 bytes in the low bits, their count in the top byte.
using Entry = std::uint32_t;

Entry Pack(char32_t c)
{
    if (c < 0x800)
        return 2u << 24 | (0x80u | (c & 0x3F)) << 8 | (0xC0u | c >> 6);
    return 3u << 24 | (0x80u | (c & 0x3F)) << 16 | (0x80u | ((c >> 6) & 0x3F)) << 8 | (0xE0u | c >> 12);
}

bool IsTrail(unsigned t)
{
    return t >= 0x40 && t <= 0xFE && t != 0x7F;
}

// pairs[lead << 8 | trail] for every double-byte character, 0 where the pair is none; singles for
// bytes 0x80-0xFF standing alone. Built once from ICU's code page 936 table.
struct Tables {
    std::vector<Entry> pairs = std::vector<Entry>(1 << 16, 0);
    Entry singles[128];

    Tables()
    {
        UErrorCode error = U_ZERO_ERROR;
        UConverter* cnv = ucnv_open("windows-936-2000", &error);
        ucnv_setToUCallBack(cnv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
        for (unsigned lead = 0x81; U_SUCCESS(error) && lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (!IsTrail(trail))
                    continue;
                const char in[2] = {char(lead), char(trail)};
                UChar out[2];
                UErrorCode e = U_ZERO_ERROR;
                ucnv_resetToUnicode(cnv);
                const int n = ucnv_toUChars(cnv, out, 2, in, 2, &e);
                if (U_SUCCESS(e) && n == 1 && out[0] >= 0x80 && (out[0] < 0xD800 || out[0] > 0xDFFF))
                    pairs[lead << 8 | trail] = Pack(out[0]);
            }
        }
        ucnv_close(cnv);
        for (Entry& s : singles)
            s = Pack(0xFFFD);
        singles[0] = Pack(0x20AC);
    }
};

const Tables& GbkTables()
{
    static const Tables tables;
    return tables;
}

std::size_t Utf8Length(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Bytes of the GBK character starting at g, by the same rules the decoder follows.
std::size_t GbkLength(const Tables& t, std::string_view gbk, std::size_t g)
{
    const auto b = static_cast<unsigned char>(gbk[g]);
    if (b <= 0x80 || g + 1 >= gbk.size())
        return 1;
    return t.pairs[b << 8 | static_cast<unsigned char>(gbk[g + 1])] ? 2 : 1;
}

}  // namespace

void DecodedGbk::reserve(std::size_t gbkSize)
{
    const std::size_t need = gbkSize * kMaxGrowth + 8;
    if (need > capacity_) {
        utf8_.reset(new char[need]);
        marks_.reset(new std::size_t[need / kMarkStride + 2]);
        capacity_ = need;
    }
}

namespace {

// The same-length form of gbk[from, to), which must begin and end at character boundaries;
// false at the first byte that is not ASCII or a whole double-byte character.
bool SameLengthRange(const Tables& t, std::string_view gbk, char* out, std::size_t from, std::size_t to)
{
    const auto* in = reinterpret_cast<const unsigned char*>(gbk.data());
    std::size_t g = from;
    while (g < to) {
        std::uint64_t word;
        if (g + 8 <= to && (std::memcpy(&word, in + g, 8), (word & 0x8080808080808080ull) == 0)) {
            std::memcpy(out + g, &word, 8);
            g += 8;
            continue;
        }
        if (in[g] < 0x80) {
            out[g] = char(in[g]);
            ++g;
            continue;
        }
        if (in[g] == 0x80 || g + 1 >= to || !t.pairs[in[g] << 8 | in[g + 1]])
            return false;
        out[g] = char(0xC4), out[g + 1] = char(0x80);  // U+0100
        g += 2;
    }
    return true;
}

// Large texts are converted in two halves at once.
constexpr std::size_t kParallelBytes = 4 << 20;

// A character boundary near the middle: the byte after an ASCII byte always begins a character,
// whether that ASCII byte stood alone or ended a double-byte one. 0 when there is none nearby.
std::size_t BoundaryNearMiddle(std::string_view gbk)
{
    for (std::size_t at = gbk.size() / 2; at > gbk.size() / 4; --at) {
        if (static_cast<unsigned char>(gbk[at - 1]) < 0x80)
            return at;
    }
    return 0;
}

}  // namespace

bool DecodedGbk::decodeSameLength(std::string_view gbk)
{
    const Tables& t = GbkTables();
    gbk_ = gbk;
    sameLength_ = true;
    reserve(gbk.size());
    char* out = utf8_.get();
    const std::size_t mid = gbk.size() >= kParallelBytes ? BoundaryNearMiddle(gbk) : 0;
    bool ok;
    if (mid) {
        auto second =
            std::async(std::launch::async, [&] { return SameLengthRange(t, gbk, out, mid, gbk.size()); });
        const bool first = SameLengthRange(t, gbk, out, 0, mid);
        ok = second.get() && first;
    } else {
        ok = SameLengthRange(t, gbk, out, 0, gbk.size());
    }
    utf8Size_ = gbk.size();
    return ok;
}

void DecodedGbk::decode(std::string_view gbk)
{
    const Tables& t = GbkTables();
    gbk_ = gbk;
    sameLength_ = false;
    reserve(gbk.size());
    const auto* in = reinterpret_cast<const unsigned char*>(gbk.data());
    const std::size_t n = gbk.size();
    char* out = utf8_.get();
    std::size_t* marks = marks_.get();
    std::size_t g = 0, u = 0, nextMark = 0;
    while (g < n) {
        std::uint64_t word;
        if (g + 8 <= n && (std::memcpy(&word, in + g, 8), (word & 0x8080808080808080ull) == 0)) {
            std::memcpy(out + u, &word, 8);
            for (; nextMark < u + 8; nextMark += kMarkStride)
                *marks++ = g + (nextMark - u);
            g += 8, u += 8;
            continue;
        }
        const unsigned b = in[g];
        std::size_t used = 1, len = 1;
        if (b < 0x80) {
            out[u] = char(b);
        } else {
            Entry e = g + 1 < n ? t.pairs[b << 8 | in[g + 1]] : 0;
            if (e)
                used = 2;
            else
                e = t.singles[b - 0x80];
            len = e >> 24;
            out[u] = char(e), out[u + 1] = char(e >> 8), out[u + 2] = char(e >> 16);
        }
        if (nextMark < u + len)
            *marks++ = g, nextMark += kMarkStride;
        g += used, u += len;
    }
    utf8Size_ = u;
}

std::size_t DecodedGbk::gbkOffset(std::size_t u) const
{
    if (u >= utf8Size_)
        return gbk_.size();
    if (sameLength_)
        return u;
    const Tables& t = GbkTables();
    const char* s = utf8_.get();
    std::size_t k = u / kMarkStride, m = k * kMarkStride, g = marks_[k];
    while ((static_cast<unsigned char>(s[m]) & 0xC0) == 0x80)
        --m;
    while (m < u) {
        m += Utf8Length(static_cast<unsigned char>(s[m]));
        g += GbkLength(t, gbk_, g);
    }
    return g;
}

std::string DecodeGbk(std::string_view gbk)
{
    const DecodedGbk decoded(gbk);
    return std::string(decoded.utf8());
}

}  // namespace korvel
