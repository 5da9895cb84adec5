#pragma once

// GBK decoded to UTF-8 for matching, with the way back from any character of the UTF-8 text to
// the GBK bytes it came from, so matches can be cut from the original bytes. It reads the text
// by the codec's rules (text/Gbk.h): every byte that begins no character is one U+FFFD of its
// own, so the UTF-8 text is always valid and the original bytes stay reachable.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace korvel {

// The UTF-8 form of a GBK text; the GBK text must outlive it (it keeps a view).
class DecodedGbk {
public:
    DecodedGbk() = default;
    explicit DecodedGbk(std::string_view gbk) { decode(gbk); }

    // Replaces the decoded text, reusing the buffers.
    void decode(std::string_view gbk);

    // For patterns whose literals are all ASCII only the character boundaries matter, not which
    // character stands where: every double-byte character becomes U+0100, two UTF-8 bytes like its
    // GBK form, so offsets carry over unchanged and no way back needs to be kept. False (and
    // nothing usable) when the text holds a byte of 0x80 or above that is not part of a
    // double-byte character; decode() then serves.
    bool decodeSameLength(std::string_view gbk);

    std::string_view utf8() const { return {utf8_.get(), utf8Size_}; }
    std::string_view gbk() const { return gbk_; }
    // The GBK byte offset of the character starting at UTF-8 offset u (u must be a character
    // start, or the UTF-8 size, which maps to the GBK size).
    std::size_t gbkOffset(std::size_t u) const;

private:
    std::string_view gbk_;
    std::unique_ptr<char[]> utf8_;
    std::size_t utf8Size_ = 0;
    std::size_t capacity_ = 0;
    bool sameLength_ = false;
    // marks_[k]: GBK offset of the character holding UTF-8 byte k * kMarkStride.
    std::unique_ptr<std::size_t[]> marks_;

    void reserve(std::size_t gbkSize);
};

// The whole text in UTF-8, without offsets (patterns, expected values).
std::string DecodeGbk(std::string_view gbk);

}  // namespace korvel
