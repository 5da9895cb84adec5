#include "demo-shop/ShopRoutes.h"

#include <optional>

#include "demo-shop/ShopPages.h"
#include "demo-shop/ShopRequest.h"

namespace korvel::demo {
namespace {

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

FaultReply Page(const std::string& page)
{
    return FaultReply::Respond(200, page);
}

// Where the marketplaces send a collector they want to slow down.
std::string LoginAddress(const std::string& host)
{
    return "https://login.taobao.com/member/login.jhtml?redirectURL=https%3A%2F%2F" + host + "%2Fsearch.htm";
}

PageFault FaultOf(const DemoShopOptions& options, int page)
{
    const auto fault = options.faults.find(page);
    return fault == options.faults.end() ? PageFault::None : fault->second;
}

// The answers of the faults that need no result page.
std::optional<FaultReply> PlainFault(PageFault fault, const RecordedRequest& request)
{
    switch (fault) {
        case PageFault::ServerError:
            return FaultReply::Respond(500, ServerErrorPage(), "Content-Type: text/html\r\n");
        case PageFault::TooManyRequests:
            return FaultReply::Respond(429, ServerErrorPage(), "Content-Type: text/html\r\n");
        case PageFault::EmptyBody:
            return Page("");
        case PageFault::DropConnection:
            // The headers promise a page, then the connection closes.
            return FaultReply::Raw(FaultReply::Act::Close, "HTTP/1.1 200 OK\r\nContent-Type: text/html;charset=GBK\r\n"
                                                           "Content-Length: 4096\r\n\r\n");
        case PageFault::Stall:
            return FaultReply::Never();
        case PageFault::RedirectLoop:
            return FaultReply::Redirect(307, request.target);
        case PageFault::MovedLoop:
            return FaultReply::Redirect(301, request.target);
        case PageFault::LoginRedirect:
            return FaultReply::Redirect(302, LoginAddress(HostOf(request)));
        case PageFault::LoginPage:
            return Page(LoginPage(HostOf(request)));
        case PageFault::SliderPage:
            return Page(SliderPage(HostOf(request)));
        default:
            return std::nullopt;
    }
}

// Result page `page`, or the fault the options give for it; the page is built only when it is
// needed.
template <typename BuildPage>
FaultReply AnswerResult(const DemoShopOptions& options, const RecordedRequest& request, int page, BuildPage build)
{
    const PageFault fault = FaultOf(options, page);
    if (auto reply = PlainFault(fault, request))
        return *reply;
    const std::string text = *build();
    if (fault == PageFault::ResetMidBody)
        return FaultReply::ResetMidBody(text, text.size() / 2);
    if (fault == PageFault::CutShort)
        return FaultReply::ResetMidBody(text, text.size() - 1);
    if (fault == PageFault::ErrorWithItems)
        return FaultReply::Respond(500, text);
    FaultReply reply = Page(text);
    if (fault == PageFault::Drip) {
        reply.act = FaultReply::Act::Drip;
        reply.dripEvery = std::chrono::milliseconds(500);
    }
    return reply;
}

}  // namespace

FaultReply AnswerTaobaoResult(const DemoShopOptions& options, PageCache& pages, const RecordedRequest& request)
{
    const int page = BodyPageNumber(request.body);
    const std::string host = HostOf(request);
    return AnswerResult(options, request, page, [&] {
        return pages.get("taobao|" + host + "|" + std::to_string(page),
                         [&] { return TaobaoResultPage(options, host, page); });
    });
}

FaultReply AnswerTmallShop(const DemoShopOptions& options, PageCache& pages, const RecordedRequest& request)
{
    const std::string host = HostOf(request);
    return Page(*pages.get("tmall-shop|" + host, [&] { return TmallShopPage(options, host); }));
}

FaultReply AnswerTmallResult(const DemoShopOptions& options, PageCache& pages, const RecordedRequest& request)
{
    const int page = PageNumber(QueryValue(request, "pageNo"));
    const bool known = QueryValue(request, "mid") == "w-" + options.shopId + "-0" &&
                       QueryValue(request, "wid") == options.shopId;
    const std::string host = HostOf(request);
    return AnswerResult(options, request, page, [&] {
        return known ? pages.get("tmall|" + host + "|" + std::to_string(page),
                                 [&] { return TmallResultPage(options, host, page); })
                     : std::make_shared<const std::string>(TmallUnknownShopPage());
    });
}

FaultReply AnswerNotFound()
{
    return FaultReply::Respond(404, "Not Found", "Content-Type: text/plain\r\n");
}

}  // namespace korvel::demo
