#pragma once

// Which marketplace a typed shop address belongs to, and the item area cut out of a page.

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

enum class ShopFamily { Taobao, Tmall };

// The registrable domain names looked for, case-sensitively, anywhere in the address.
inline constexpr char TaobaoDomain[] = "taobao.com";
inline constexpr char TmallDomain[] = "tmall.com";

// Tmall wins when both names occur; nothing when neither does.
std::optional<ShopFamily> ClassifyShopAddress(std::string_view address);

// The shop as the history keys it: the address without the spaces around it, in lower case, so
// "SHOP1.taobao.com" typed in the window and "shop1.taobao.com" in a batch list are one shop.
std::string ShopKey(std::string_view address);

// The bytes between the first startMarker and the first endMarker, both searched from the
// beginning with ASCII case ignored. A missing start marker is not special-cased: its position
// -1 enters the arithmetic, as the pages have always been cut.
std::string AreaBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker);

}  // namespace korvel
