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

void Serve(httplib::Response& res, std::shared_ptr<const std::string> page)
{
    const std::size_t size = page->size();
    res.set_content_provider(size, kHtml, [page](size_t offset, size_t length, httplib::DataSink& sink) {
        return sink.write(page->data() + offset, length);
    });
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
            return Serve(res, build());
    }
}

}  // namespace

void AnswerTaobaoResult(const DemoShopOptions& options, PageCache& pages, const httplib::Request& req,
                        httplib::Response& res)
{
    const int page = BodyPageNumber(req.body);
    const std::string host = HostOf(req);
    AnswerResult(options, req, res, page, [&] {
        return pages.get("taobao|" + host + "|" + std::to_string(page),
                         [&] { return TaobaoResultPage(options, host, page); });
    });
}

void AnswerTmallShop(const DemoShopOptions& options, PageCache& pages, const httplib::Request& req,
                     httplib::Response& res)
{
    const std::string host = HostOf(req);
    Serve(res, pages.get("tmall-shop|" + host, [&] { return TmallShopPage(options, host); }));
}

void AnswerTmallResult(const DemoShopOptions& options, PageCache& pages, const httplib::Request& req,
                       httplib::Response& res)
{
    const int page = PageNumber(req.get_param_value("pageNo"));
    const bool known = req.get_param_value("mid") == "w-" + options.shopId + "-0" &&
                       req.get_param_value("wid") == options.shopId;
    const std::string host = HostOf(req);
    AnswerResult(options, req, res, page, [&] {
        return known ? pages.get("tmall|" + host + "|" + std::to_string(page),
                                 [&] { return TmallResultPage(options, host, page); })
                     : std::make_shared<const std::string>(TmallUnknownShopPage());
    });
}

}  // namespace korvel::demo
