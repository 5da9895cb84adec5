#include "collect/GbkDecode.h"

#include <cstdint>
#include <cstring>
#include <future>
#include <vector>

#include "text/GbkTable.h"

namespace korvel {
namespace {

constexpr std::size_t kMarkStride = 16;
// The longest UTF-8 form of one GBK byte (U+FFFD or the euro sign, three bytes each).
constexpr std::size_t kMaxGrowth = 3;

bool IsPairStart(const gbk::Table& t, const unsigned char* in, std::size_t g, std::size_t size)
{
    return g + 1 < size && t.lead[in[g]] && t.pairs[(in[g] - 0x80) * 256 + in[g + 1]] != 0;
}

std::size_t Utf8Length(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Bytes of the GBK character starting at g, by the same rules the decoder follows.
std::size_t GbkLength(const gbk::Table& t, std::string_view gbk, std::size_t g)
{
    return IsPairStart(t, reinterpret_cast<const unsigned char*>(gbk.data()), g, gbk.size()) ? 2 : 1;
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
bool SameLengthRange(const gbk::Table& t, std::string_view gbk, char* out, std::size_t from, std::size_t to)
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
        if (!IsPairStart(t, in, g, to))
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
    const gbk::Table& t = gbk::SharedTable();
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
    const gbk::Table& t = gbk::SharedTable();
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
            const gbk::Utf8Char& c = t.utf8At(in, g, n);
            std::memcpy(out + u, c.bytes.data(), 4);
            used = c.consumed;
            len = c.length;
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
    const gbk::Table& t = gbk::SharedTable();
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
