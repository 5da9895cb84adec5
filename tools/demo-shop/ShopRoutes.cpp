#include "demo-shop/ShopRoutes.h"

#include "demo-shop/ShopPages.h"

namespace korvel::demo {
namespace {

constexpr char kHtml[] = "text/html;charset=GBK";

int PageNumber(const std::string& text)
{
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || n > 10000000)
            break;
        n = n * 10 + (c - '0');
    }
    return n > 0 ? n : 1;
}

// Taobao reads "pageNo=N" from the form body.
int BodyPageNumber(const std::string& body)
{
    const auto at = body.find("pageNo=");
    return at == std::string::npos ? 1 : PageNumber(body.substr(at + 7));
}

std::string HostOf(const httplib::Request& req)
{
    const std::string host = req.get_header_value("Host");
    return host.substr(0, host.find(':'));
}

PageFault FaultOf(const DemoShopOptions& options, int page)
{
    const auto fault = options.faults.find(page);
    return fault == options.faults.end() ? PageFault::None : fault->second;
}

// Answers result page `page`, or the fault the options give for it; the page is built only when
// it is needed.
template <typename BuildPage>
void AnswerResult(const DemoShopOptions& options, const httplib::Request& req, httplib::Response& res,
                  int page, BuildPage build)
{
    switch (FaultOf(options, page)) {
        case PageFault::ServerError:
            res.status = 500;
            return res.set_content(ServerErrorPage(), "text/html");
        case PageFault::EmptyBody:
            return res.set_content("", kHtml);
        case PageFault::DropConnection:
            // The headers promise a page; the provider then gives up and the connection closes.
            return res.set_content_provider(4096, kHtml,
                                            [](size_t, size_t, httplib::DataSink&) { return false; });
        case PageFault::LoginPage:
            return res.set_content(LoginPage(HostOf(req)), kHtml);
        case PageFault::None:
        case PageFault::NoItems:
            return res.set_content(build(), kHtml);
    }
}

}  // namespace

void AnswerTaobaoResult(const DemoShopOptions& options, const httplib::Request& req, httplib::Response& res)
{
    const int page = BodyPageNumber(req.body);
    AnswerResult(options, req, res, page, [&] { return TaobaoResultPage(options, HostOf(req), page); });
}

void AnswerTmallShop(const DemoShopOptions& options, const httplib::Request& req, httplib::Response& res)
{
    res.set_content(TmallShopPage(options, HostOf(req)), kHtml);
}

void AnswerTmallResult(const DemoShopOptions& options, const httplib::Request& req, httplib::Response& res)
{
    const int page = PageNumber(req.get_param_value("pageNo"));
    const bool known = req.get_param_value("mid") == "w-" + options.shopId + "-0" &&
                       req.get_param_value("wid") == options.shopId;
    AnswerResult(options, req, res, page, [&] {
        return known ? TmallResultPage(options, HostOf(req), page) : TmallUnknownShopPage();
    });
}

}  // namespace korvel::demo
