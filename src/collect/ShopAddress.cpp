#include "collect/ShopAddress.h"

#include <algorithm>

#include "text/Text.h"

namespace korvel {

std::optional<ShopFamily> ClassifyShopAddress(std::string_view address)
{
    std::optional<ShopFamily> family;
    if (FindText(address, TaobaoDomain) != -1)
        family = ShopFamily::Taobao;
    if (FindText(address, TmallDomain) != -1)
        family = ShopFamily::Tmall;
    return family;
}

std::string ShopKey(std::string_view address)
{
    return ToLowerAscii(TrimSpaces(address));
}

std::string AreaBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker)
{
    const long long start = FindText(text, startMarker, 1, true);
    const long long end = FindText(text, endMarker, 1, true);
    const long long markerLength = static_cast<long long>(startMarker.size());
    const long long from = start + markerLength;
    const long long count = end - start - markerLength;
    const long long length = static_cast<long long>(text.size());
    if (from < 1 || from > length || count <= 0)
        return {};
    return std::string(text.substr(from - 1, std::min(count, length - from + 1)));
}

}  // namespace korvel
