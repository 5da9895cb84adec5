#include "support/ShopMarkup.h"

namespace korvel::tools {
namespace {

// GBK title pieces: 秋冬新品, 拼皮百搭, 显瘦女呢料短裤, （送腰带）, 韩版, 蕾丝花边, 专柜正品,
// 男士休闲皮衣, 运动鞋, 包邮.
const char* const kTitleWords[] = {
    "\xC7\xEF\xB6\xAC\xD0\xC2\xC6\xB7",
    "\xC6\xB4\xC6\xA4\xB0\xD9\xB4\xEE",
    "\xCF\xD4\xCA\xDD\xC5\xAE\xC4\xD8\xC1\xCF\xB6\xCC\xBF\xE3",
    "\xA3\xA8\xCB\xCD\xD1\xFC\xB4\xF8\xA3\xA9",
    "\xBA\xAB\xB0\xE6",
    "\xC0\xD9\xCB\xBF\xBB\xA8\xB1\xDF",
    "\xD7\xA8\xB9\xF1\xD5\xFD\xC6\xB7",
    "\xC4\xD0\xCA\xBF\xD0\xDD\xCF\xD0\xC6\xA4\xD2\xC2",
    "\xD4\xCB\xB6\xAF\xD0\xAC",
    "\xB0\xFC\xD3\xCA",
};
constexpr std::size_t kWordCount = sizeof kTitleWords / sizeof kTitleWords[0];

// 已售： and 件, 评论(
constexpr const char* kSold = "\xD2\xD1\xCA\xDB\xA3\xBA";
constexpr const char* kPieces = "\xBC\xFE";
constexpr const char* kReviewsLabel = "\xC6\xC0\xC2\xDB(";

std::string Price(std::size_t seed)
{
    return std::to_string(9 + seed * 37 % 490) + "." + std::to_string(seed % 10) + "0 ";
}

}  // namespace

std::vector<ShopEntry> SampleEntries(std::size_t count, bool withMarketPrice)
{
    std::vector<ShopEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        ShopEntry e;
        e.id = std::to_string(40890292076 + i * 7919);
        e.image = "img01.taobaocdn.com/bao/uploaded/i" + std::to_string(i % 4 + 1) + "/TB1ap8w" +
                  std::to_string(i * 104729 % 1000003) + "XXXXXbXXVXX_!!0-item_pic.jpg_240x240.jpg";
        e.title = std::to_string(800 + i % 200) + "# 2014";
        for (std::size_t w = 0; w < 4; ++w)
            e.title += kTitleWords[(i * 3 + w * 7) % kWordCount];
        e.salePrice = Price(i);
        if (withMarketPrice)
            e.marketPrice = Price(i + 13);
        e.soldCount = std::to_string(i * 31 % 1000);
        e.reviews = std::to_string(i * 17 % 300);
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string TaobaoEntryMarkup(const ShopEntry& e)
{
    const std::string link = "//item.taobao.com/item.htm?id=" + e.id;
    std::string m = "<dl class=\"item \" data-id=\"" + e.id + "\">\n  <dt class=\"photo\">\n    <a href=\"" +
                    link + "\" target=\"_blank\">\n      <img alt=\"" + e.title + "\"  src=\"//" + e.image +
                    "\"  >\n    </a>\n  </dt>\n  <dd class=\"detail\">\n    <a class=\"item-name\" href=\"" +
                    link + "\" target=\"_blank\">" + e.title +
                    "</a>\n    <div class=\"attribute\">\n      <div class=\"cprice-area\"><span "
                    "class=\"symbol\">&yen;</span><span class=\"c-price\">" +
                    e.salePrice + "</span></div>\n";
    if (!e.marketPrice.empty())
        m += "      <div class=\"sprice-area\"><span class=\"symbol\">&yen;</span><span class=\"s-price\">" +
             e.marketPrice + "</span></div>\n";
    if (!e.soldCount.empty())
        m += std::string("      <div class=\"sale-area\">") + kSold + "<span class=\"sale-num\">" +
             e.soldCount + "</span>" + kPieces + "</div>\n";
    m += std::string(
             "    </div>\n  </dd>\n  <dd class=\"rates\">\n    <div class=\"title\">\n      <h4>\n        ") +
         kReviewsLabel + "<a href=\"" + link + "&on_comment=1\" target=\"_blank\"><span>" + e.reviews +
         "</span></a>)\n      </h4>\n    </div>\n    <p class=\"rate J_TRate\"></p>\n  </dd>\n</dl>\n\n";
    return m;
}

std::string TaobaoItemArea(const std::vector<ShopEntry>& entries)
{
    std::string area = "\n";
    for (const ShopEntry& e : entries)
        area += TaobaoEntryMarkup(e);
    return area;
}

}  // namespace korvel::tools
