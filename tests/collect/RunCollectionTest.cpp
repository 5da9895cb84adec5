// Whole runs against the demo shop over HTTPS, as the start button makes them: the records and
// events the core produces, and the words a view shows for them.

#include "collect/RunCollection.h"

#include "DemoShopRun.h"
#include "RecordingObserver.h"
#include "support/TestGbk.h"
#include "support/FaultServer.h"
#include "web/HttpSettings.h"
#include "words/RunTexts.h"

namespace korvel::test {
namespace {

using demo::Marketplace;
using demo::PageFault;

class RunCollectionTest : public DemoShopRun {
protected:
    CollectionRun Run(const std::string& address, demo::DemoShopOptions options = {})
    {
        Shop().setOptions(options);
        FetchPolicy quick;
        quick.retryPauses = {std::chrono::milliseconds(1)};
        return RunAt(address, quick);
    }
    CollectionRun RunAt(const std::string& address, const FetchPolicy& policy)
    {
        seen = {};
        inputs.inputs.address = address;
        inputs.reads = 0;
        Cancellation cancel;
        cancelOnProducts = &cancel;
        run = RunCollection(inputs, seen, cancel, policy);
        cancelOnProducts = nullptr;
        return run;
    }
    std::vector<std::string> Bodies() const
    {
        std::vector<std::string> bodies;
        for (const auto& request : Shop().requests())
            bodies.push_back(request.method + " " + request.target + " " + request.body);
        return bodies;
    }
    void ExpectSuccess(int total, const std::string& losses = "")
    {
        const RunMessage message = ClosingMessage(run);
        EXPECT_EQ(message.message, Gbk("本次采集到的商品共有：" + std::to_string(total) + "件！" + losses));
        EXPECT_EQ(message.title, Gbk("成功采集"));
        EXPECT_EQ(run.productCount, total);
        EXPECT_EQ(static_cast<int>(seen.products.size()), total);
        EXPECT_EQ(run.end, losses.empty() ? RunEnd::Complete : RunEnd::Incomplete);
        EXPECT_EQ(seen.finishedCalls, 1);
        ExpectRunHoldsWhatWasSeen();
    }
    // The record keeps every product whole, in the very slices the observer was handed: a view that
    // kept them shares them with the run, and nothing has to be put back before it is recorded.
    void ExpectRunHoldsWhatWasSeen()
    {
        ASSERT_EQ(run.products.size(), seen.products.size());
        EXPECT_EQ(run.products.slices(), seen.slices);
        size_t row = 0;
        for (const Product& product : run.products) {
            EXPECT_EQ(product.id, seen.products[row].id);
            EXPECT_EQ(&run.products[row], &product) << "row " << row;
            EXPECT_EQ(product.position, int(++row));
        }
        EXPECT_EQ(run.productCount, int(run.products.size()));
    }
    void ExpectFailure(const std::string& message, const std::string& title)
    {
        EXPECT_EQ(run.end, RunEnd::Failed);
        const RunMessage shown = ClosingMessage(run);
        EXPECT_EQ(std::make_pair(shown.message, shown.title), std::make_pair(Gbk(message), Gbk(title)));
        EXPECT_FALSE(seen.listed) << "the earlier run's list stays";
        EXPECT_TRUE(seen.products.empty());
        EXPECT_TRUE(run.products.empty());
        EXPECT_EQ(seen.finishedCalls, 1);
    }
    // A page that arrived without paging is named with its size, which these tests do not fix.
    void ExpectFailureStartingWith(const std::string& message, const std::string& title)
    {
        EXPECT_EQ(run.end, RunEnd::Failed);
        const RunMessage shown = ClosingMessage(run);
        EXPECT_TRUE(shown.message.starts_with(Gbk(message))) << shown.message;
        EXPECT_EQ(shown.title, Gbk(title));
        EXPECT_FALSE(seen.listed);
    }

    EditableInputs inputs;
    RecordingObserver seen;
    CollectionRun run;
    Cancellation* cancelOnProducts = nullptr;
};

TEST_F(RunCollectionTest, TaobaoShopNumbersRunOnAcrossPages)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Complete);

    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Taobao));
    ASSERT_EQ(seen.products.size(), 60u);
    EXPECT_EQ(seen.products[20].position, 21);
    EXPECT_EQ(seen.products[20].page, 2);
    ExpectSuccess(60);
    EXPECT_EQ(PageCountCaption(*seen.pageCount), Gbk("商品总页数：3"));
    EXPECT_EQ(seen.events, (std::vector<std::string>{"count 3", "list", "page 1/3", "products 20", "page 2/3",
                                                     "products 20", "page 3/3", "products 20", "end"}));
    EXPECT_EQ(run.pageCount, 3);
    EXPECT_EQ(run.pagesCollected, 3);
    EXPECT_EQ(run.shopHost, TaobaoHost);
    EXPECT_LE(run.started, run.ended);
    EXPECT_EQ(Bodies(), (std::vector<std::string>{"POST /search.htm pageNo=1", "POST /search.htm pageNo=2",
                                                  "POST /search.htm pageNo=3"}));
    EXPECT_EQ(Shop().requests()[0].headers.find("Host")->second, TaobaoHost);
}

TEST_F(RunCollectionTest, TmallShopCarriesItsQueryOnEveryPage)
{
    demo::DemoShopOptions options;
    options.pages = 2;
    EXPECT_EQ(Run(TmallHost, options).end, RunEnd::Complete);

    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Tmall));
    ExpectSuccess(40);
    EXPECT_EQ(run.family, ShopFamily::Tmall);
    EXPECT_EQ(seen.products[0].marketPrice + seen.products[0].sold + seen.products[0].reviews, "000");
    const std::string query =
        "/i/asynSearch.htm?" + Shop().tmallQuery() + "&path=/search.htm&search=y&pageNo=";
    EXPECT_EQ(Bodies(), (std::vector<std::string>{"GET /search.htm?search=y&pageNo=1 ",
                                                  "POST " + query + "1 ", "POST " + query + "2 "}));
}

// Lost pages are named under the total with their cause; a page that failed in passing was tried
// twice more, a login page not at all.
TEST_F(RunCollectionTest, LostLaterPagesAreNamedWithTheirCause)
{
    demo::DemoShopOptions options;
    options.pages = 5;
    options.faults = {{2, PageFault::ServerError}, {3, PageFault::DropConnection}, {4, PageFault::LoginPage}};
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Incomplete);
    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Taobao));
    ExpectSuccess(40,
                  "\n第 2 页未能取得：服务器返回 HTTP 500（已重试 2 次）"
                  "\n第 3 页未能取得：页面未接收完整（连接中途断开）（已重试 2 次）"
                  "\n第 4 页未能取得：淘宝/天猫要求登录或滑块验证，请稍后再试或放慢采集速度");
    EXPECT_EQ(seen.products[20].position, 21);  // page 5's first product
    EXPECT_EQ(seen.products[20].page, 5);
    EXPECT_EQ(Shop().requests().size(), 1u + 3 + 3 + 1 + 1);
    ASSERT_EQ(run.lostPages.size(), 3u);
    EXPECT_EQ(run.lostPages[0].page, 2);
    EXPECT_EQ(run.lostPages[0].cause, Gbk("服务器返回 HTTP 500（已重试 2 次）"));
    EXPECT_EQ(seen.lost.size(), 3u);
    EXPECT_EQ(run.pagesCollected, 2);

    options.faults = {{2, PageFault::EmptyBody}, {3, PageFault::NoItems}, {4, PageFault::NoItems}};
    EXPECT_EQ(Run(TmallHost, options).end, RunEnd::Incomplete);
    ExpectSuccess(40, "\n第 2 页未能取得：服务器返回了空白页面\n第 3–4 页没有找到商品，页面结构可能已改变");
}

// A page that failed after its retries but carried its products gives them, and is named as
// incomplete; page 1 too.
TEST_F(RunCollectionTest, APageThatFailedWithItsProductsGivesThem)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    options.faults = {{2, PageFault::ErrorWithItems}, {3, PageFault::CutShort}};
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Incomplete);
    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Taobao));
    ExpectSuccess(60, "\n第 2 页不完整，只取得了部分商品：服务器返回 HTTP 500（已重试 2 次）"
                      "\n第 3 页不完整，只取得了部分商品：连接被重置（已重试 2 次）");
    ASSERT_EQ(run.lostPages.size(), 2u);
    EXPECT_TRUE(run.lostPages[0].incomplete);
    EXPECT_EQ(run.pagesCollected, 3);

    options.faults = {{1, PageFault::ErrorWithItems}};
    EXPECT_EQ(Run(TmallHost, options).end, RunEnd::Incomplete);
    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Tmall));
    ExpectSuccess(60, "\n第 1 页不完整，只取得了部分商品：服务器返回 HTTP 500（已重试 2 次）");
}

// A page count far beyond the shop's pages ends after three pages in a row without products.
TEST_F(RunCollectionTest, ARunawayPageCountEndsEarly)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    options.shownPageCount = "99999999";
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Incomplete);
    ExpectSuccess(60, "\n第 4–99999999 页没有商品，采集提前结束");
    EXPECT_EQ(Shop().requests().size(), 6u);

    Shop().clearRequests();
    options.faults = {{4, PageFault::ServerError}, {5, PageFault::ServerError}, {6, PageFault::NoItems}};
    Run(TaobaoHost, options);
    ExpectSuccess(60, "\n第 4–5 页未能取得：服务器返回 HTTP 500（已重试 2 次）\n第 6–99999999 页没有商品，采集提前结束");
    EXPECT_EQ(Shop().requests().size(), 3u + 2 * 3 + 3);

    // A shop that stops answering: the pages after the failed ones were never asked for.
    options.pages = 12;
    options.shownPageCount.reset();
    options.faults = {{4, PageFault::ServerError}, {5, PageFault::ServerError}, {6, PageFault::ServerError},
                      {7, PageFault::ServerError}, {8, PageFault::ServerError}};
    Run(TaobaoHost, options);
    ExpectSuccess(60, "\n第 4–8 页未能取得：服务器返回 HTTP 500（已重试 2 次）"
                      "\n第 9–12 页未请求：之前连续 5 页未能取得，采集提前结束");

    // Pages without products before a failed one keep their own line; the early end starts after it.
    options.pages = 3;
    options.shownPageCount = "20";
    options.faults = {{5, PageFault::ServerError}};
    Run(TaobaoHost, options);
    ExpectSuccess(60, "\n第 5 页未能取得：服务器返回 HTTP 500（已重试 2 次）\n第 4 页没有找到商品，页面结构可能已改变"
                      "\n第 6–20 页没有商品，采集提前结束");
}

TEST_F(RunCollectionTest, PageCountZeroGivesOnePage)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    options.shownPageCount = "0";
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Complete);
    EXPECT_EQ(PageCountCaption(*seen.pageCount), Gbk("商品总页数：0"));
    EXPECT_EQ(Shop().requests().size(), 1u);
    ExpectSuccess(20);
}

TEST_F(RunCollectionTest, OnePageShopsMakeOneRequestOrTwoForTmall)
{
    demo::DemoShopOptions options;
    options.pages = 1;
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Complete);
    EXPECT_EQ(Shop().requests().size(), 1u);

    Shop().clearRequests();
    EXPECT_EQ(Run(TmallHost, options).end, RunEnd::Complete);
    EXPECT_EQ(Shop().requests().size(), 2u);
    EXPECT_EQ(seen.pageCount, 1);
}

TEST_F(RunCollectionTest, MarkersAreFoundWhateverTheirLetterCase)
{
    demo::DemoShopOptions options;
    options.upperCaseMarkers = true;
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Complete);
    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Taobao));

    EXPECT_EQ(Run(TmallHost, options).end, RunEnd::Complete);
    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Tmall));
    EXPECT_EQ(seen.products.size(), 60u);
}

TEST_F(RunCollectionTest, PageOneDecidesTheMarketPriceColumn)
{
    for (auto prices : {demo::MarketPrices::All, demo::MarketPrices::None, demo::MarketPrices::Alternate,
                        demo::MarketPrices::NotOnFirstPage}) {
        demo::DemoShopOptions options;
        options.marketPrices = prices;
        options.withoutSaleNum = {{2, 4}};
        EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Complete);
        EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Taobao)) << static_cast<int>(prices);
    }
}

TEST_F(RunCollectionTest, NeitherFamilySendsNothing)
{
    for (const char* address : {"shop.example.com", "DEMO.TAOBAO.COM"}) {
        Run(address);
        ExpectFailure("系统只支持淘宝天猫店铺", "店铺错误");
        EXPECT_EQ(seen.events, (std::vector<std::string>{"end"}));
    }
    EXPECT_TRUE(Shop().requests().empty());
}

TEST_F(RunCollectionTest, PagingFailuresLeaveTheEarlierRun)
{
    demo::DemoShopOptions doubled;
    doubled.doublePaging = true;
    demo::DemoShopOptions broken;
    broken.faults = {{1, PageFault::ServerError}};
    for (const auto& [options, cause] : {std::pair(doubled, "\n收到的页面（HTTP 200，"),
                                         std::pair(broken, "\n服务器返回 HTTP 500（已重试 2 次）")}) {
        Run(TaobaoHost, options);
        ExpectFailureStartingWith("未找到店铺的分页信息，请重试！" + std::string(cause), "未取得信息");
        EXPECT_EQ(seen.events, (std::vector<std::string>{"end"}));
    }
}

// A page 1 that could not be had fails the run with the cause under the message.
TEST_F(RunCollectionTest, APageOneFailureNamesItsCause)
{
    const std::vector<std::pair<PageFault, std::string>> causes = {
        {PageFault::TooManyRequests, "服务器返回 HTTP 429（已重试 2 次）"},
        {PageFault::ResetMidBody, "连接被重置（已重试 2 次）"},
        {PageFault::Stall, "响应超时（1 秒内收到的数据不足 1 KB）（已重试 2 次）"},
        {PageFault::RedirectLoop, "重定向次数过多"},
        {PageFault::LoginRedirect, "淘宝/天猫要求登录或滑块验证，请稍后再试或放慢采集速度"},
        {PageFault::SliderPage, "淘宝/天猫要求登录或滑块验证，请稍后再试或放慢采集速度"},
        {PageFault::EmptyBody, "服务器返回了空白页面"},
    };
    SetTimeouts(std::chrono::seconds(5), std::chrono::seconds(1));
    for (const auto& [fault, cause] : causes) {
        SCOPED_TRACE(cause);
        demo::DemoShopOptions options;
        options.faults = {{1, fault}};
        Run(TaobaoHost, options);
        ExpectFailure("未找到店铺的分页信息，请重试！\n" + cause, "未取得信息");
    }
    SetTimeouts(HttpSettings().connectTimeout, HttpSettings().idleTimeout);

    SetExtraCaFile("");
    Run(TaobaoHost);
    SetExtraCaFile(Shop().caFile());
    ExpectFailure("未找到店铺的分页信息，请重试！\n证书被拒绝：证书不受信任", "未取得信息");

    const int closedPort = tools::FaultServer([](auto&) { return tools::FaultReply::Never(); }).port();
    SetConnectTo("closed.taobao.com:443:127.0.0.1:" + std::to_string(closedPort));
    FetchPolicy once;
    once.retries = 0;
    RunAt("closed.taobao.com", once);
    SetConnectTo(Shop().connectTo(TaobaoHost) + "," + Shop().connectTo(TmallHost));
    ExpectFailure("未找到店铺的分页信息，请重试！\n服务器拒绝连接", "未取得信息");
}

// A page answering 301 to itself ends after 20 hops, named, and is not asked for again.
TEST_F(RunCollectionTest, ARedirectChainEndsAfterTwentyHops)
{
    demo::DemoShopOptions options;
    options.faults = {{1, PageFault::MovedLoop}};
    Run(TmallHost, options);
    ExpectFailure("未找到店铺的分页信息，请重试！\n重定向次数过多", "未取得信息");
    EXPECT_EQ(Shop().requests().size(), 1u + 1 + 20);
}

TEST_F(RunCollectionTest, PageOneWithoutProductsFails)
{
    demo::DemoShopOptions options;
    options.faults = {{1, PageFault::NoItems}};
    Run(TmallHost, options);
    ExpectFailure("没有发现商品，请重试！\n第 1 页有分页信息，但没有找到商品，页面结构可能已改变", "未发现商品");
    EXPECT_EQ(seen.events, (std::vector<std::string>{"count 3", "end"}));  // the count already shown
    EXPECT_EQ(Shop().requests().size(), 2u);                                // page 1 is not asked for again

    // A page 1 that failed carrying its paging but no product: no page information, and no count
    // shown beside that message.
    options.faults = {{1, PageFault::ErrorWithItems}};
    options.itemsPerPage = 0;
    Run(TaobaoHost, options);
    ExpectFailure("未找到店铺的分页信息，请重试！\n服务器返回 HTTP 500（已重试 2 次）", "未取得信息");
    EXPECT_EQ(seen.events, (std::vector<std::string>{"end"}));
}

TEST_F(RunCollectionTest, TmallShopPageWithoutTheQueryLinkStillAsks)
{
    demo::DemoShopOptions options;
    options.omitAsynLink = true;
    Run(TmallHost, options);
    const auto requests = Shop().requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].path, "/i/asynSearch.htm");
    ExpectFailureStartingWith("未找到店铺的分页信息，请重试！\n收到的页面（HTTP 200，", "未取得信息");
}

TEST_F(RunCollectionTest, SettingsEditedDuringARunCountFromTheNextPage)
{
    inputs.onLaterRead = [](CollectionInputs& now) { now.settings.itemAreaEnd = "no such marker"; };
    EXPECT_EQ(Run(TaobaoHost).end, RunEnd::Incomplete);
    inputs.onLaterRead = nullptr;
    ExpectSuccess(20, "\n第 2–3 页没有找到商品，页面结构可能已改变");
    EXPECT_EQ(Shop().requests().size(), 3u);
}

// The same product listed on two result pages is two rows: nothing is merged or dropped.
TEST_F(RunCollectionTest, AProductOnTwoPagesGivesTwoRows)
{
    demo::DemoShopOptions options;
    options.pages = 2;
    options.firstItemOnEveryPage = true;
    EXPECT_EQ(Run(TaobaoHost, options).end, RunEnd::Complete);
    EXPECT_EQ(seen.rows(), ExpectedRows(options, Marketplace::Taobao));
    ExpectSuccess(40);
    EXPECT_EQ(seen.products[0].id, seen.products[20].id);
    EXPECT_EQ(seen.products[20].position, 21);
}

TEST_F(RunCollectionTest, CancellingEndsTheRunWithoutAWord)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    seen.onProducts = [this](RecordingObserver&) { cancelOnProducts->cancel(); };
    Shop().setOptions(options);
    Cancellation cancel;
    cancelOnProducts = &cancel;
    inputs.inputs.address = TaobaoHost;
    run = RunCollection(inputs, seen, cancel, {});
    EXPECT_EQ(run.end, RunEnd::Interrupted);
    EXPECT_EQ(ClosingMessage(run).message, "");
    EXPECT_EQ(seen.finishedCalls, 1);
    // What arrived before the cancel stays in the record.
    EXPECT_EQ(run.products.size(), 20u);
    ExpectRunHoldsWhatWasSeen();
    EXPECT_EQ(Shop().requests().size(), 1u);
}

}  // namespace
}  // namespace korvel::test
