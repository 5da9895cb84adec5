// The GBK text primitives against the plain rule behind them: a match only begins where a
// character begins, found by trying every character start of a front-to-back walk in turn.
// Input: ten bytes of numbers (start, length, flags, piece limit), then text \0 sought \0 replacement.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "text/Text.h"

namespace korvel::fuzz {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr std::size_t kNumberBytes = 10;

char Fold(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A text with its character starts, found by walking it from the front.
class Walked {
public:
    explicit Walked(std::string_view text) : text_(text), isStart_(text.size() + 1, false)
    {
        for (const std::size_t at : GbkCharStarts(text))
            isStart_[at] = true;
        isStart_[text.size()] = true;
    }

    // The first character start at or after `from` (the text's size when none).
    std::size_t startFrom(std::size_t from) const
    {
        while (from < text_.size() && !isStart_[from])
            ++from;
        return std::min(from, text_.size());
    }

    // Ignoring case folds only bytes that begin a character, never a second half.
    bool matchesAt(std::size_t at, std::string_view sought, bool ignoreCase) const
    {
        if (at + sought.size() > text_.size())
            return false;
        for (std::size_t i = 0; i < sought.size(); ++i) {
            const char have = text_[at + i];
            const bool fold = ignoreCase && isStart_[at + i];
            if (fold ? Fold(have) != Fold(sought[i]) : have != sought[i])
                return false;
        }
        return true;
    }

    std::size_t find(std::string_view sought, std::size_t from, bool ignoreCase) const
    {
        for (std::size_t at = startFrom(from); at < text_.size(); at = startFrom(at + 1)) {
            if (matchesAt(at, sought, ignoreCase))
                return at;
        }
        return kNone;
    }

private:
    std::string_view text_;
    std::vector<bool> isStart_;
};

int ExpectedFind(const Walked& walked, std::string_view text, std::string_view sought, int start,
                 bool ignoreCase)
{
    // A start on the second half of a character moves to the next one; an empty sought text is
    // then found at 1 whenever any text is left.
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (from >= text.size())
        return -1;
    from = walked.startFrom(from);
    if (sought.empty())
        return from < text.size() ? 1 : -1;
    const std::size_t at = walked.find(sought, from, ignoreCase);
    return at == kNone ? -1 : static_cast<int>(at) + 1;
}

int ExpectedFindReverse(const Walked& walked, std::string_view text, std::string_view sought, bool ignoreCase)
{
    if (text.empty() || sought.empty())
        return text.empty() ? -1 : 1;
    int last = -1;
    for (std::size_t at = walked.find(sought, 0, ignoreCase); at != kNone;
         at = walked.find(sought, at + 1, ignoreCase))
        last = static_cast<int>(at) + 1;
    return last;
}

std::vector<std::string> ExpectedSplit(const Walked& walked, std::string_view text,
                                       std::string_view separator, std::size_t limit)
{
    if (text.empty() || limit == 0)
        return {};
    if (separator.empty())
        return {std::string(text)};
    std::vector<std::string> pieces;
    std::size_t pieceStart = 0;
    while (pieces.size() < limit) {
        const std::size_t hit = walked.find(separator, pieceStart, false);
        if (hit == kNone) {
            if (pieceStart < text.size())
                pieces.emplace_back(text.substr(pieceStart));
            break;
        }
        pieces.emplace_back(text.substr(pieceStart, hit - pieceStart));
        pieceStart = hit + separator.size();
    }
    return pieces;
}

std::string ExpectedReplace(const Walked& walked, std::string_view text, std::string_view sought,
                            std::string_view replacement, bool ignoreCase)
{
    if (sought.empty())
        return std::string(text);
    std::string result;
    std::size_t done = 0;
    for (std::size_t hit; (hit = walked.find(sought, done, ignoreCase)) != kNone;) {
        const std::size_t next = walked.startFrom(hit + sought.size());
        result.append(text.substr(done, hit - done)).append(replacement);
        result.append(text.substr(hit + sought.size(), next - hit - sought.size()));
        done = next;
    }
    return result.append(text.substr(done));
}

// Numbers come from raw bytes so that both ends of the int range turn up.
struct Numbers {
    int start = 1;
    int length = 0;
    bool ignoreCase = false;
    std::optional<int> maxPieces;

    explicit Numbers(const std::string& bytes)
    {
        std::memcpy(&start, bytes.data(), 4);
        std::memcpy(&length, bytes.data() + 4, 4);
        ignoreCase = bytes[8] & 1;
        if (bytes[8] & 2)
            maxPieces = static_cast<signed char>(bytes[9]);
    }
};

void CheckSearches(std::string_view text, std::string_view sought, std::string_view replacement,
                   const Numbers& n)
{
    const Walked walked(text);
    Require(FindText(text, sought, n.start, n.ignoreCase) ==
                ExpectedFind(walked, text, sought, n.start, n.ignoreCase),
            "FindText finds the first match at a character start");
    Require(FindTextReverse(text, sought, n.ignoreCase) ==
                ExpectedFindReverse(walked, text, sought, n.ignoreCase),
            "FindTextReverse finds the last match at a character start");
    const std::size_t limit = n.maxPieces && *n.maxPieces >= 0 ? static_cast<std::size_t>(*n.maxPieces)
                                                               : std::numeric_limits<std::size_t>::max();
    Require(SplitText(text, sought, n.maxPieces) == ExpectedSplit(walked, text, sought, limit),
            "SplitText cuts at separators that begin at character starts");
    Require(ReplaceText(text, sought, replacement, !n.ignoreCase) ==
                ExpectedReplace(walked, text, sought, replacement, n.ignoreCase),
            "ReplaceText replaces matches that begin at character starts");
}

void CheckCuts(std::string_view text, const Numbers& n)
{
    Require(LeftText(text, n.length).size() <= text.size(), "LeftText stays inside the text");
    Require(RightText(text, n.length).size() <= text.size(), "RightText stays inside the text");
    const std::string mid = MidText(text, n.start, n.length);
    Require(mid.empty() || text.substr(static_cast<std::size_t>(n.start) - 1, mid.size()) == mid,
            "MidText cuts from its start");
}

void CheckSpaces(std::string_view text)
{
    const std::string trimmed = TrimSpaces(text);
    Require(text.find(trimmed) != kNone && TrimSpaces(trimmed) == trimmed, "trimming is a cut, done once");
    const std::string deleted = DeleteSpaces(text);
    Require(DeleteSpaces(deleted) == deleted && DeleteSpaces(trimmed) == deleted,
            "deleting spaces is done once");
    const std::string lower = ToLowerAscii(text);
    Require(lower.size() == text.size() && ToLowerAscii(lower) == lower,
            "lower case keeps the size, done once");
}

// Digits, signs and the space in their full-width forms (A3 B0 for "0", A1 A1 for " ").
std::string FullWidth(std::string_view ascii)
{
    std::string out;
    for (const char c : ascii) {
        if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')
            out += {'\xA3', static_cast<char>(c + 0x80)};
        else
            out += c == ' ' ? std::string("\xA1\xA1") : std::string(1, c);
    }
    return out;
}

// ASCII texts read as the C library reads them (C locale, base 10, no hex, infinity or NaN).
void CheckNumbers(std::string_view text)
{
    const std::int32_t integer = ToInteger(text);
    const double number = ToNumber(text);
    Require(!std::isnan(number), "ToNumber never gives NaN");
    Require(ToInteger(IntToText(integer)) == integer, "IntToText reads back");
    if (!IsAscii(text))
        return;
    const std::string copy(text);
    Require(integer == StrtollClamped(copy), "ToInteger reads ASCII as strtoll does, clamped to 32 bits");
    Require(ToInteger(FullWidth(text)) == integer, "full-width digits read as ASCII ones");
    if (copy.find_first_of("xXiInN") == kNone) {
        const double expected = std::strtod(copy.c_str(), nullptr);
        Require(number == expected || (std::isnan(expected) && std::isnan(number)),
                "ToNumber reads ASCII as strtod");
        Require(ToNumber(FullWidth(text)) == number, "full-width numbers read as ASCII ones");
    }
}

}  // namespace
}  // namespace korvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korvel;
    using namespace korvel::fuzz;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Require(BytesToText(input) == input.substr(0, input.find('\0')), "a text ends at the first zero byte");
    Require(TextToBytes(input) == input, "bytes pass unchanged");
    const auto [bytes, fields] = SplitInput(data, size, kNumberBytes);
    const Numbers numbers(bytes);
    const std::string text = Field(fields, 0);
    CheckSearches(text, Field(fields, 1), Field(fields, 2), numbers);
    CheckCuts(text, numbers);
    CheckSpaces(text);
    CheckNumbers(text);
    return 0;
}
