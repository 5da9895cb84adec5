#pragma once

// The fixed page and item patterns, character for character as the shop pages have needed them.
// Read with PatternOptions (Pattern.h): a backslash before punctuation makes it literal, so `\<`
// is "<" and `\\` one backslash of the page.

namespace korvel {

// The paging element of a Taobao result page: group 1 the current page, group 2 the total.
inline constexpr char TaobaoPagePattern[] = R"P(\<span.class=.page-info.>(.*?)/(.*?)</span\>)P";

// The paging element of a Tmall asynchronous result page, whose quotes arrive escaped (a
// backslash before each): group 1 the current page, group 2 the total.
inline constexpr char TmallPagePattern[] = R"P(\<b.class=\\.ui-page-s-len\\.\>(.*?)/(.*?)</b\>)P";

// One entry of a Tmall asynchronous result page: id, picture address, title, sale price.
inline constexpr char TmallItemPattern[] =
    R"P(\<dl.*?item.*?data-id=\\.(\S+)\\.\>.*?\<img.*?\/\/(\S+)\\.*?_blank\\.\>(.*?)\</a>.*?c-price\\.\>(.*?)\s*\</span\>)P";

// The head of a Taobao entry: id, picture address, title, sale price.
inline constexpr char TaobaoItemHead[] =
    R"P(\<dl.*?item.*?data-id=.(\S+).>.*?\<img.*?\/\/(\S+)"\s+\>.*?_blank.>(.*?)\</a>.*?c-price.>(.*?)</span>)P";

// Follows the head when the first item area carries market prices: the market price.
inline constexpr char TaobaoMarketPricePart[] = R"P(.*?s-price.>(.*?)</span>)P";

// Closes every Taobao item pattern: the sold count, then the review text.
inline constexpr char TaobaoSalesPart[] = R"P(.*?sale-num.>(.*?)</span>.*?<span>(.*?)</span\>)P";

}  // namespace korvel
