// Replacing and splitting walk the text once, finding each occurrence the way FindText does, so a
// separator or sought text is never matched on the second half of a double-byte character.

#include <cstdint>

#include "text/Text.h"
#include "text/TextScan.h"

namespace korvel {

using textscan::CharStartFrom;
using textscan::FindFromCharStart;

std::string ReplaceText(std::string_view text, std::string_view sought, std::string_view replacement,
                        bool caseSensitive)
{
    if (sought.empty()) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    size_t done = 0;  // a character start: everything before it is already in the result
    for (;;) {
        const size_t hit = FindFromCharStart(text, sought, done, !caseSensitive);
        if (hit == std::string_view::npos) {
            break;
        }
        result.append(text.substr(done, hit - done)).append(replacement);
        // A match may end inside a double-byte character; its second half is kept, not searched.
        const size_t next = CharStartFrom(text, hit, hit + sought.size());
        result.append(text.substr(hit + sought.size(), next - (hit + sought.size())));
        done = next;
    }
    result.append(text.substr(done));
    return result;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator,
                                   std::optional<int> maxPieces)
{
    std::vector<std::string> pieces;
    // A negative maximum counts as no maximum.
    const size_t limit = maxPieces && *maxPieces >= 0 ? static_cast<size_t>(*maxPieces) : SIZE_MAX;
    if (text.empty() || limit == 0) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t pieceStart = 0;
    size_t from = 0;  // a character start
    while (pieces.size() < limit) {
        const size_t hit = FindFromCharStart(text, separator, from, false);
        if (hit == std::string_view::npos) {
            if (pieceStart < text.size()) {
                pieces.emplace_back(text.substr(pieceStart));
            }
            break;
        }
        pieces.emplace_back(text.substr(pieceStart, hit - pieceStart));
        pieceStart = hit + separator.size();
        from = CharStartFrom(text, hit, pieceStart);
    }
    return pieces;
}

}  // namespace korvel
