// The GBK codec both ways, and the decoders built on its tables: the collection's DecodedGbk, with
// its way back to the GBK bytes and its same-length form, and the web module's conversions.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "collect/GbkDecode.h"
#include "text/Gbk.h"
#include "text/Encoding.h"

namespace korvel::fuzz {
namespace {

// The GBK offset of every character of the decoded text, and the GBK size last. Each character
// must lead back to one or two GBK bytes that decode to it alone, or a match would be cut from
// the wrong bytes.
std::vector<std::size_t> CheckDecoded(const DecodedGbk& decoded)
{
    const std::string_view utf8 = decoded.utf8();
    Require(IsValidUtf8(utf8), "decoded text is valid UTF-8");
    std::vector<std::size_t> offsets{decoded.gbkOffset(0)};
    Require(offsets.front() == 0, "the first character starts the GBK text");
    std::size_t from = 0;
    DecodedGbk alone;
    for (std::size_t u = 1; u <= utf8.size(); ++u) {
        if (u < utf8.size() && (static_cast<unsigned char>(utf8[u]) & 0xC0) == 0x80)
            continue;
        const std::size_t g = decoded.gbkOffset(u);
        Require(g > offsets.back() && g - offsets.back() <= 2, "a character stands for one or two GBK bytes");
        const std::string_view bytes = decoded.gbk().substr(offsets.back(), g - offsets.back());
        alone.decode(bytes);
        Require(alone.utf8() == utf8.substr(from, u - from), "a character's GBK bytes decode to it alone");
        offsets.push_back(g);
        from = u;
    }
    Require(offsets.back() == decoded.gbk().size(), "the end of the UTF-8 text is the end of the GBK text");
    return offsets;
}

// The same-length form is refused exactly when a byte of 0x80 or above stands alone; otherwise
// its characters begin where the GBK characters begin.
void CheckSameLength(std::string_view gbk, const std::vector<std::size_t>& offsets)
{
    bool loneHighByte = false;
    std::vector<std::size_t> starts;
    for (std::size_t k = 0; k + 1 < offsets.size(); ++k) {
        loneHighByte |=
            offsets[k + 1] - offsets[k] == 1 && static_cast<unsigned char>(gbk[offsets[k]]) >= 0x80;
        starts.push_back(offsets[k]);
    }
    DecodedGbk same;
    Require(same.decodeSameLength(gbk) == !loneHighByte,
            "the same-length form is refused for lone high bytes");
    if (loneHighByte)
        return;
    const std::string_view utf8 = same.utf8();
    Require(utf8.size() == gbk.size() && IsValidUtf8(utf8),
            "the same-length form is valid UTF-8 of equal size");
    std::vector<std::size_t> sameStarts;
    for (std::size_t u = 0; u < utf8.size(); ++u) {
        if ((static_cast<unsigned char>(utf8[u]) & 0xC0) != 0x80)
            sameStarts.push_back(u);
    }
    Require(sameStarts == starts, "the same-length form keeps the character boundaries");
}

// The web module's conversions end at the first zero byte and agree with the collection's decoder.
void CheckWebConversions(std::string_view gbk)
{
    const std::string_view text = gbk.substr(0, gbk.find('\0'));
    const Bytes utf8 = GbkToUtf8(gbk);
    Require(utf8 == GbkToUtf8(text), "the conversion ends at the first zero byte");
    if (text.empty()) {
        Require(utf8.empty() && GbkToUtf16(text).empty(), "an empty text converts to nothing");
        return;
    }
    Require(utf8 == DecodeGbk(text) + '\0', "both decoders read GBK alike");
    Require(Utf16ToUtf8(GbkToUtf16(text)) == utf8, "GBK through UTF-16 gives the same UTF-8");
    Require(GbkToUtf16(text, true).size() + 2 == GbkToUtf16(text).size(), "only the terminator is dropped");
}

// Text that decodes without a replacement comes back byte for byte; any bytes read as UTF-8
// encode to at most two bytes a character.
void CheckCodec(std::string_view input)
{
    const std::u16string unicode = gbk::ToUtf16(input);
    Require(unicode.size() <= input.size(), "a character stands for one or two GBK bytes");
    Require(gbk::ToUtf8(input) == DecodeGbk(input), "the codec and the collection's decoder agree");
    if (unicode.find(u'\uFFFD') == std::u16string::npos)
        Require(gbk::FromUtf16(unicode) == input, "GBK text survives the trip through Unicode");
    const std::string encoded = gbk::FromUtf8(input);
    Require(encoded.size() <= 2 * input.size(), "encoding never grows past two bytes a byte");
    Require(IsValidUtf8(gbk::ToUtf8(encoded)), "encoded text decodes to valid UTF-8");
}

}  // namespace
}  // namespace korvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korvel;
    using namespace korvel::fuzz;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const DecodedGbk decoded(input);
    CheckSameLength(input, CheckDecoded(decoded));
    CheckWebConversions(input);
    CheckCodec(input);
    // Any bytes as UTF-16LE: lone surrogates and odd lengths must still give valid UTF-8.
    Require(IsValidUtf8(Utf16ToUtf8(input)), "UTF-16 to UTF-8 gives valid UTF-8");
    return 0;
}
