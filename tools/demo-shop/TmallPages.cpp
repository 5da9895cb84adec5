// A Tmall shop: its search page only carries the asynSearch link (the items arrive by a second
// request), and the asynchronous answer is markup whose quotes are written \" for the script
// that inserts it.

#include "demo-shop/ShopCatalog.h"
#include "text/Gbk.h"
#include "demo-shop/ShopPages.h"

namespace korvel::demo {
namespace {

std::string Escaped(const std::string& markup)
{
    std::string out;
    out.reserve(markup.size() + markup.size() / 8);
    for (char c : markup) {
        if (c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

std::string Entry(const DemoShopOptions& options, int page, int index)
{
    const ShopItem item = CatalogItem(options, Marketplace::Tmall, page, index);
    const std::string link = "//detail.tmall.com/item.htm?id=" + item.productId;
    std::string out =
        "<dl class=\"item \" data-id=\"" + item.productId + "\">\n  <dt class=\"photo\">\n    <a href=\"" +
        link + "&amp;rn=9421601d40f377a7\" target=\"_blank\">\n      <img alt=\"" + item.title +
        "\" src=\"//" + item.imageAddress + "\">\n    </a>\n  </dt>\n  <dd class=\"detail\">\n" +
        "    <a class=\"item-name\" href=\"" + link + "\" target=\"_blank\">" + item.title +
        "</a>\n    <div class=\"attribute\">\n      <div class=\"cprice-area\"><span class=\"symbol\"> "
        "&yen;</span><span class=\"c-price\">" +
        item.salePrice + "\n      </span></div>\n";
    if (!item.sold.empty())
        out += "      <div class=\"sale-area\">总销量：<span class=\"sale-num\">" + item.sold +
               "</span>\n      </div>\n";
    return out +
           "    </div>\n  </dd>\n  <dd class=\"rates\">\n    <div class=\"title\">\n      <h4>|<a href=\"" +
           link + "&amp;on_comment=1#J_TabBar\" target=\"_blank\"><span>" + item.reviews +
           "</span></a></h4>\n    </div>\n  </dd>\n</dl>\n";
}

std::string PageLength(const DemoShopOptions& options, int page)
{
    return "<b class=\"ui-page-s-len\">" + std::to_string(page) + "/" + ShownPageCount(options) + "</b>";
}

std::string Filter(const DemoShopOptions& options, const std::string& shopUrl, int page)
{
    std::string out =
        "<div class=\"skin-box-bd\">\n  <div class=\"filter clearfix J_TFilter\">\n"
        "    <p class=\"ui-page-s\">\n      " +
        PageLength(options, page) + "\n";
    out += page > 1 ? "      <a title=\"上一页\" class=\"ui-page-s-prev\" href=\"" + shopUrl +
                          "?search=y&amp;pageNo=" + std::to_string(page - 1) + "\">&lt;</a>\n"
                    : "      <b title=\"上一页\" class=\"ui-page-s-prev\">&lt;</b>\n";
    out += page < options.pages ? "      <a title=\"下一页\" class=\"ui-page-s-next\" href=\"" + shopUrl +
                                      "?search=y&amp;pageNo=" + std::to_string(page + 1) + "\">&gt;</a>\n"
                                : "      <b title=\"下一页\" class=\"ui-page-s-next\">&gt;</b>\n";
    return out + "    </p>\n  </div>\n";
}

}  // namespace

std::string TmallShopPage(const DemoShopOptions& options, const std::string& host)
{
    std::string out = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n<title>首页-" + host +
                      "-天猫Tmall.com</title>\n</head>\n<body>\n<div id=\"bd\">\n"
                      "<div class=\"skin-box tb-module tshop-pbsm tshop-pbsm-shop-srch-list\">\n";
    if (!options.omitAsynLink)
        out += "  <input id=\"J_ShopAsynSearchURL\" type=\"hidden\" value=\"" +
               markup::Marker(options, "/i/asynSearch.htm?") + TmallQuery(options) +
               markup::Marker(options, "&path=/search.htm&&amp;search=y") +
               "&amp;orderType=defaultSort&amp;viewType=grid\" />\n";
    return gbk::FromUtf8(
        out +
        "  <div id=\"J_ShopSearchResult\" class=\"shop-hesper\">\n"
        "    <div class=\"loading\">正在加载宝贝，请稍候……</div>\n  </div>\n"
        "  <script type=\"text/javascript\">\n"
        "    if (window.TShop && window.TShop.ModUtil) TShop.ModUtil.initMod(document.getElementById(\"shop" +
        options.shopId + "\"), 1);\n  </script>\n</div>\n</div>\n</body>\n</html>\n");
}

std::string TmallResultPage(const DemoShopOptions& options, const std::string& host, int page)
{
    const std::string shopUrl = "//" + host + "/search.htm";
    std::string out = Filter(options, shopUrl, page);
    out += "  <div class=\"" + markup::Marker(options, "J_TItems") + "\">\n    <div class=\"item5line1\">\n";
    if (markup::ListsEntries(options, page)) {
        for (int i = 0; i < options.itemsPerPage; ++i)
            out += Entry(options, page, i);
    } else {
        out += "      <p class=\"item-not-found\">很抱歉，没有找到符合条件的宝贝。</p>\n";
    }
    out += "    </div>\n    <div class=\"" + markup::Marker(options, "pagination") + "\">\n";
    if (options.doublePaging && page == 1)
        out += "      " + PageLength(options, page) + "\n";
    out += markup::PageLinks(options, shopUrl, page) + "    </div>\n  </div>\n</div>\n";
    return gbk::FromUtf8(Escaped(out));
}

std::string TmallUnknownShopPage()
{
    return gbk::FromUtf8(
        Escaped("<div class=\"skin-box-bd\">\n  <div "
                "class=\"no-result\">很抱歉，店铺不存在或已关闭。</div>\n</div>\n"));
}

}  // namespace korvel::demo
