// A Taobao shop's result page as the server wrote it in 2014: the image tag closed by blanks
// before ">", prices with a blank before "</span>", the review count in a bare <span>.

#include "demo-shop/ShopCatalog.h"
#include "demo-shop/ShopPages.h"
#include "support/ShopMarkup.h"
#include "text/Gbk.h"

namespace korvel::demo {
namespace {

std::string Entry(const DemoShopOptions& options, int page, int index)
{
    const ShopItem item = ListedItem(options, Marketplace::Taobao, page, index);
    return tools::TaobaoEntryMarkup({item.productId, item.imageAddress, item.title, item.salePrice,
                                     item.marketPrice, item.sold, item.reviews});
}

std::string PageInfo(const DemoShopOptions& options, int page)
{
    return "<span class=\"page-info\">" + std::to_string(page) + "/" + ShownPageCount(options) + "</span>";
}

std::string Head(const DemoShopOptions& options, const std::string& shopUrl, int page)
{
    const int found = markup::ListsEntries(options, page) ? options.pages * options.itemsPerPage : 0;
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n<title>搜索店铺内宝贝-淘宝网</title>\n"
           "</head>\n<body class=\"tshop-pbsm\">\n<div id=\"bd\">\n"
           "<div class=\"skin-box tb-module tshop-pbsm tshop-pbsm-shop-srch-list\">\n<div "
           "class=\"skin-box-bd\">\n"
           "<div class=\"shop-hesper J_TWidget\">\n<div class=\"shop-hesper-hd\">\n"
           "  <div class=\"search-result\">共搜索到<span> " +
           std::to_string(found) +
           " </span>个符合条件的商品。</div>\n  <div class=\"filter clearfix J_TFilter\">\n"
           "    <a class=\"sort\" href=\"" +
           shopUrl + "?search=y&amp;orderType=hotsell_desc\">销量</a>\n    <a class=\"sort\" href=\"" +
           shopUrl +
           "?search=y&amp;orderType=newOn_desc\">新品</a>\n    <div class=\"pagination pagination-mini\">\n  "
           "    " +
           PageInfo(options, page) +
           "\n    </div>\n  </div>\n"
           "</div><!--END OF shop-hesper-hd J_TWidget结束属性导航div的显示-->\n";
}

}  // namespace

std::string TaobaoResultPage(const DemoShopOptions& options, const std::string& host, int page)
{
    const std::string shopUrl = "//" + host + "/search.htm";
    // The entries come as GBK already; the rest of the page is written in UTF-8 and converted.
    std::string out =
        gbk::FromUtf8(Head(options, shopUrl, page) + markup::Marker(options, "<div class=\"shop-hesper-bd grid\">") +
              "\n<div class=\"item4line1\">\n");
    if (markup::ListsEntries(options, page)) {
        for (int i = 0; i < options.itemsPerPage; ++i)
            out += Entry(options, page, i);
    } else {
        out += gbk::FromUtf8("<p class=\"item-not-found\">很抱歉，没有找到符合条件的宝贝。</p>\n");
    }
    std::string tail = "</div>\n<div class=\"pagination\">\n";
    if (options.doublePaging && page == 1)
        tail += "  " + PageInfo(options, page) + "\n";
    tail += markup::PageLinks(options, shopUrl, page) + "  " +
            markup::Marker(options, "<!--END OF  pagination-->") +
            "\n</div>\n</div>\n</div>\n</div>\n</div>\n</div>\n</body>\n</html>\n";
    return out + gbk::FromUtf8(tail);
}

}  // namespace korvel::demo
