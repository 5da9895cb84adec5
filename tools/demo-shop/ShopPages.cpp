#include <algorithm>
#include <cctype>

#include "text/Gbk.h"
#include "demo-shop/ShopPages.h"

namespace korvel::demo {

std::string TmallQuery(const DemoShopOptions& options)
{
    return "mid=w-" + options.shopId + "-0&wid=" + options.shopId;
}

std::string LoginPage(const std::string& host)
{
    return gbk::FromUtf8(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n<title>淘宝网 - "
        "淘！我喜欢</title>\n</head>\n"
        "<body>\n<div id=\"content\">\n  <div class=\"login-box\">\n    <h3>亲，请登录</h3>\n"
        "    <p class=\"notice\">为了您的账户安全，请拖动下方滑块完成验证后继续访问。</p>\n"
        "    <form id=\"J_Form\" "
        "action=\"https://login.taobao.com/member/login.jhtml?redirectURL=https%3A%2F%2F" +
        host +
        "%2Fsearch.htm\" method=\"post\">\n"
        "      <input type=\"text\" name=\"TPL_username\" placeholder=\"手机号/会员名/邮箱\" />\n"
        "      <input type=\"password\" name=\"TPL_password\" />\n"
        "      <div id=\"nocaptcha\" class=\"nc-container\" data-nc-idx=\"1\"></div>\n"
        "      <button type=\"submit\" id=\"J_SubmitStatic\">登 录</button>\n    </form>\n  </div>\n</div>\n"
        "</body>\n</html>\n");
}

std::string SliderPage(const std::string& host)
{
    return gbk::FromUtf8(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\" />\n<title>验证码拦截</title>\n</head>\n"
        "<body>\n<div id=\"nocaptcha\" class=\"nc-container\">\n"
        "  <p>亲，访问受限了，请拖动下方滑块完成验证</p>\n"
        "  <span id=\"nc_1_n1z\" class=\"nc_iconfont btn_slide\"></span>\n"
        "</div>\n<script src=\"https://g.alicdn.com/sd/nch5/index.js\"></script>\n"
        "<form action=\"https://" + host + "/_____tmd_____/verify/\"></form>\n</body>\n</html>\n");
}

std::string ServerErrorPage()
{
    return "<html>\r\n<head><title>500 Internal Server Error</title></head>\r\n<body>\r\n"
           "<center><h1>500 Internal Server Error</h1></center>\r\n<hr><center>Tengine</center>\r\n"
           "</body>\r\n</html>\r\n";
}

namespace markup {

std::string Marker(const DemoShopOptions& options, std::string text)
{
    if (options.upperCaseMarkers)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool ListsEntries(const DemoShopOptions& options, int page)
{
    const auto fault = options.faults.find(page);
    return page >= 1 && page <= options.pages && options.itemsPerPage > 0 &&
           (fault == options.faults.end() || fault->second != PageFault::NoItems);
}

std::string PageLinks(const DemoShopOptions& options, const std::string& shopUrl, int page)
{
    const std::string link = "<a class=\"J_SearchAsync\" href=\"" + shopUrl + "?search=y&amp;pageNo=";
    std::string out = page > 1 ? "  " + link + std::to_string(page - 1) + "#anchor\">上一页</a>\n"
                               : "  <a class=\"disable\">上一页</a>\n";
    const int last = std::min(options.pages, page + 4);
    for (int p = std::max(1, page - 4); p <= last; ++p)
        out += p == page ? "  <a class=\"page-cur\">" + std::to_string(p) + "</a>\n"
                         : "  " + link + std::to_string(p) + "#anchor\">" + std::to_string(p) + "</a>\n";
    out += page < options.pages ? "  " + link + std::to_string(page + 1) + "#anchor\">下一页</a>\n"
                                : "  <a class=\"disable\">下一页</a>\n";
    return out + "  <form action=\"" + shopUrl +
           "\" method=\"get\">\n    <input type=\"hidden\" name=\"search\" value=\"y\">\n"
           "    到第 <input type=\"text\" value=\"" +
           std::to_string(page) +
           "\" size=\"3\" name=\"pageNo\"> 页\n    <button type=\"submit\">确定</button>\n"
           "  </form>\n";
}

}  // namespace markup
}  // namespace korvel::demo
