#pragma once

// Entries written the way the shops write them, for tests that need a few exact records without
// a server. GBK in, GBK out.

#include <optional>
#include <string>

namespace korvel::test {

struct EntryText {
    std::string id;
    std::string image;  // after the "//"
    std::string title;
    std::string price;
    std::optional<std::string> marketPrice;
    std::optional<std::string> sold;
    std::string reviews;
};

// A Taobao result-page entry, as the 2014 pages had it.
inline std::string TaobaoEntry(const EntryText& e)
{
    std::string text =
        "<dl class=\"item \" data-id=\"" + e.id + "\">\n  <dt class=\"photo\">\n" +
        "    <a href=\"//item.taobao.com/item.htm?id=" + e.id + "\" target=\"_blank\">\n" +
        "      <img alt=\"" + e.title + "\"  src=\"//" + e.image + "\"  >\n    </a>\n  </dt>\n" +
        "  <dd class=\"detail\">\n    <a class=\"item-name\" href=\"//item.taobao.com/item.htm?id=" + e.id +
        "\" target=\"_blank\">" + e.title + "</a>\n" +
        "    <div class=\"cprice-area\"><span class=\"c-price\">" + e.price + "</span></div>\n";
    if (e.marketPrice)
        text +=
            "    <div class=\"sprice-area\"><span class=\"s-price\">" + *e.marketPrice + "</span></div>\n";
    if (e.sold)
        text += "    <div class=\"sale-area\"><span class=\"sale-num\">" + *e.sold + "</span></div>\n";
    return text + "  </dd>\n  <dd class=\"rates\"><h4>(<a href=\"//item.taobao.com/item.htm?id=" + e.id +
           "&on_comment=1\" target=\"_blank\"><span>" + e.reviews + "</span></a>)</h4></dd>\n</dl>\n";
}

// A Tmall asynchronous result-page entry: every quote arrives as a backslash and the quote.
inline std::string TmallEntry(const EntryText& e)
{
    return "<dl class=\\\"item \\\" data-id=\\\"" + e.id + "\\\">\n<dt class=\\\"photo\\\">" +
           "<a href=\\\"//detail.tmall.com/item.htm?id=" + e.id + "\\\" target=\\\"_blank\\\">\n" +
           "<img alt=\\\"" + e.title + "\\\" src=\\\"//" + e.image + "\\\">\n</a></dt>\n" +
           "<dd class=\\\"detail\\\"><a class=\\\"item-name\\\" href=\\\"//detail.tmall.com/item.htm?id=" +
           e.id + "\\\" target=\\\"_blank\\\">" + e.title + "</a>\n" + "<span class=\\\"c-price\\\">" +
           e.price + " </span></dd>\n</dl>\n";
}

}  // namespace korvel::test
