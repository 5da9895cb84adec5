// Whole runs against the demo shop over HTTPS, as the start button makes them.

#include "collect/RunCollection.h"

#include "DemoShopRun.h"
#include "RecordingScreen.h"
#include "support/TestGbk.h"
#include "support/FaultServer.h"
#include "web/HttpSettings.h"

namespace korvel::test {
namespace {

using demo::Marketplace;
using demo::PageFault;

class RunCollectionTest : public DemoShopRun {
protected:
    RunOutcome Run(const std::string& address, demo::DemoShopOptions options = {})
    {
        Shop().setOptions(options);
        screen.address = address;
        FetchPolicy quick;
        quick.retryPauses = {std::chrono::milliseconds(1)};
        return RunCollection(screen, quick);
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
        ASSERT_EQ(screen.messages.size(), 1u);
        EXPECT_EQ(screen.messages[0].first,
                  Gbk("本次采集到的商品共有：" + std::to_string(total) + "件！" + losses));
        EXPECT_EQ(screen.messages[0].second, Gbk("成功采集"));
        EXPECT_EQ(screen.totalLabel, Gbk("采集商品总数：" + std::to_string(total)));
        EXPECT_EQ(screen.totalLabelAtMessage, screen.totalLabel);
        EXPECT_EQ(static_cast<int>(screen.rows.size()), total);
        EXPECT_EQ(screen.eventRounds, total);
        ExpectButtonRestored();
    }
    void ExpectButtonRestored()
    {
        ASSERT_EQ(screen.buttonStates.size(), 2u);
        EXPECT_EQ(screen.buttonStates[0], std::make_pair(Gbk("正在采集请稍等..."), false));
        EXPECT_EQ(screen.buttonStates[1], std::make_pair(Gbk("开始采集"), true));
        // Restored before the box opens, whatever the outcome.
        EXPECT_EQ(screen.buttonAtMessage, screen.buttonStates[1]);
    }
    void ExpectFailure(const std::string& message, const std::string& title)
    {
        ASSERT_EQ(screen.messages.size(), 1u);
        EXPECT_EQ(screen.messages[0], std::make_pair(Gbk(message), Gbk(title)));
        ExpectButtonRestored();
    }
    // A page that arrived without paging is named with its size, which these tests do not fix.
    void ExpectFailureStartingWith(const std::string& message, const std::string& title)
    {
        ASSERT_EQ(screen.messages.size(), 1u);
        EXPECT_TRUE(screen.messages[0].first.starts_with(Gbk(message))) << screen.messages[0].first;
        EXPECT_EQ(screen.messages[0].second, Gbk(title));
        ExpectButtonRestored();
    }
    // A list and counter label left over from an earlier run.
    void LeaveEarlierRun()
    {
        screen.rows = {{"1", "old"}};
        screen.totalLabel = "earlier";
    }

    RecordingScreen screen;
};

TEST_F(RunCollectionTest, TaobaoShopNumbersRunOnAcrossPages)
{
    LeaveEarlierRun();
    demo::DemoShopOptions options;
    options.pages = 3;
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::Collected);

    EXPECT_EQ(screen.rows, ExpectedRows(options, Marketplace::Taobao));
    ASSERT_EQ(screen.rows.size(), 60u);
    EXPECT_EQ(screen.rows[20][0], "21");
    ExpectSuccess(60);
    EXPECT_EQ(screen.pageCountLabel, Gbk("商品总页数：3"));
    EXPECT_EQ(screen.totalLabels.front(), Gbk("已经获取到宝贝：1"));
    EXPECT_EQ(screen.totalLabels[59], Gbk("已经获取到宝贝：60"));
    EXPECT_EQ(Bodies(), (std::vector<std::string>{"POST /search.htm pageNo=1", "POST /search.htm pageNo=2",
                                                  "POST /search.htm pageNo=3"}));
    EXPECT_EQ(Shop().requests()[0].headers.find("Host")->second, TaobaoHost);
}

TEST_F(RunCollectionTest, TmallShopCarriesItsQueryOnEveryPage)
{
    demo::DemoShopOptions options;
    options.pages = 2;
    EXPECT_EQ(Run(TmallHost, options), RunOutcome::Collected);

    EXPECT_EQ(screen.rows, ExpectedRows(options, Marketplace::Tmall));
    ExpectSuccess(40);
    EXPECT_EQ(screen.rows[0][5] + screen.rows[0][6] + screen.rows[0][7], "000");
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
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::CollectedWithLosses);
    EXPECT_EQ(screen.rows, ExpectedRows(options, Marketplace::Taobao));
    ExpectSuccess(40,
                  "\n第 2 页未能取得：服务器返回 HTTP 500（已重试 2 次）"
                  "\n第 3 页未能取得：页面未接收完整（连接中途断开）（已重试 2 次）"
                  "\n第 4 页未能取得：淘宝/天猫要求登录或滑块验证，请稍后再试或放慢采集速度");
    EXPECT_EQ(screen.rows[20][0], "21");  // page 5's first product
    EXPECT_EQ(Shop().requests().size(), 1u + 3 + 3 + 1 + 1);

    screen = {};
    options.faults = {{2, PageFault::EmptyBody}, {3, PageFault::NoItems}, {4, PageFault::NoItems}};
    EXPECT_EQ(Run(TmallHost, options), RunOutcome::CollectedWithLosses);
    ExpectSuccess(40, "\n第 2 页未能取得：服务器返回了空白页面\n第 3–4 页没有找到商品，页面结构可能已改变");
}

// A page count far beyond the shop's pages ends after three pages in a row without products.
TEST_F(RunCollectionTest, ARunawayPageCountEndsEarly)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    options.shownPageCount = "99999999";
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::CollectedWithLosses);
    ExpectSuccess(60, "\n第 4–99999999 页没有商品，采集提前结束");
    EXPECT_EQ(Shop().requests().size(), 6u);

    screen = {};
    Shop().clearRequests();
    options.faults = {{4, PageFault::ServerError}, {5, PageFault::ServerError}, {6, PageFault::NoItems}};
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::CollectedWithLosses);
    ExpectSuccess(60, "\n第 4–5 页未能取得：服务器返回 HTTP 500（已重试 2 次）\n第 6–99999999 页没有商品，采集提前结束");
    EXPECT_EQ(Shop().requests().size(), 3u + 2 * 3 + 3);

    // A shop that stops answering: the pages after the failed ones were never asked for.
    screen = {};
    options.pages = 12;
    options.shownPageCount.reset();
    options.faults = {{4, PageFault::ServerError}, {5, PageFault::ServerError}, {6, PageFault::ServerError},
                      {7, PageFault::ServerError}, {8, PageFault::ServerError}};
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::CollectedWithLosses);
    ExpectSuccess(60, "\n第 4–8 页未能取得：服务器返回 HTTP 500（已重试 2 次）"
                      "\n第 9–12 页未请求：之前连续 5 页未能取得，采集提前结束");

    // Pages without products before a failed one keep their own line; the early end starts after it.
    screen = {};
    options.pages = 3;
    options.shownPageCount = "20";
    options.faults = {{5, PageFault::ServerError}};
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::CollectedWithLosses);
    ExpectSuccess(60, "\n第 5 页未能取得：服务器返回 HTTP 500（已重试 2 次）\n第 4 页没有找到商品，页面结构可能已改变"
                      "\n第 6–20 页没有商品，采集提前结束");
}

TEST_F(RunCollectionTest, PageCountZeroGivesOnePage)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    options.shownPageCount = "0";
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::Collected);
    EXPECT_EQ(screen.pageCountLabel, Gbk("商品总页数：0"));
    EXPECT_EQ(Shop().requests().size(), 1u);
    ExpectSuccess(20);
}

TEST_F(RunCollectionTest, OnePageShopsMakeOneRequestOrTwoForTmall)
{
    demo::DemoShopOptions options;
    options.pages = 1;
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::Collected);
    EXPECT_EQ(Shop().requests().size(), 1u);

    Shop().clearRequests();
    screen = {};
    EXPECT_EQ(Run(TmallHost, options), RunOutcome::Collected);
    EXPECT_EQ(Shop().requests().size(), 2u);
    EXPECT_EQ(screen.pageCountLabel, Gbk("商品总页数：1"));
}

TEST_F(RunCollectionTest, MarkersAreFoundWhateverTheirLetterCase)
{
    demo::DemoShopOptions options;
    options.upperCaseMarkers = true;
    EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::Collected);
    EXPECT_EQ(screen.rows, ExpectedRows(options, Marketplace::Taobao));

    screen = {};
    EXPECT_EQ(Run(TmallHost, options), RunOutcome::Collected);
    EXPECT_EQ(screen.rows, ExpectedRows(options, Marketplace::Tmall));
    EXPECT_EQ(screen.rows.size(), 60u);
}

TEST_F(RunCollectionTest, PageOneDecidesTheMarketPriceColumn)
{
    for (auto prices : {demo::MarketPrices::All, demo::MarketPrices::None, demo::MarketPrices::Alternate,
                        demo::MarketPrices::NotOnFirstPage}) {
        demo::DemoShopOptions options;
        options.marketPrices = prices;
        options.withoutSaleNum = {{2, 4}};
        screen = {};
        EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::Collected);
        EXPECT_EQ(screen.rows, ExpectedRows(options, Marketplace::Taobao)) << static_cast<int>(prices);
    }
}

TEST_F(RunCollectionTest, NeitherFamilySendsNothing)
{
    for (const char* address : {"shop.example.com", "DEMO.TAOBAO.COM"}) {
        screen = {};
        LeaveEarlierRun();
        EXPECT_EQ(Run(address), RunOutcome::Failed);
        ExpectFailure("系统只支持淘宝天猫店铺", "店铺错误");
        EXPECT_EQ(screen.rows.size(), 1u);
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
        screen = {};
        LeaveEarlierRun();
        EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::Failed);
        ExpectFailureStartingWith("未找到店铺的分页信息，请重试！" + std::string(cause), "未取得信息");
        EXPECT_EQ(screen.rows, (std::vector<std::vector<std::string>>{{"1", "old"}}));
        EXPECT_EQ(screen.totalLabel, "earlier");
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
        screen = {};
        demo::DemoShopOptions options;
        options.faults = {{1, fault}};
        EXPECT_EQ(Run(TaobaoHost, options), RunOutcome::Failed);
        ExpectFailure("未找到店铺的分页信息，请重试！\n" + cause, "未取得信息");
    }
    SetTimeouts(HttpSettings().connectTimeout, HttpSettings().idleTimeout);

    screen = {};
    SetExtraCaFile("");
    EXPECT_EQ(Run(TaobaoHost), RunOutcome::Failed);
    SetExtraCaFile(Shop().caFile());
    ExpectFailure("未找到店铺的分页信息，请重试！\n证书被拒绝：证书不受信任", "未取得信息");

    screen = {};
    const int closedPort = tools::FaultServer([](auto&) { return tools::FaultReply::Never(); }).port();
    SetConnectTo("closed.taobao.com:443:127.0.0.1:" + std::to_string(closedPort));
    screen.address = "closed.taobao.com";
    FetchPolicy once;
    once.retries = 0;
    EXPECT_EQ(RunCollection(screen, once), RunOutcome::Failed);
    SetConnectTo(Shop().connectTo(TaobaoHost) + "," + Shop().connectTo(TmallHost));
    ExpectFailure("未找到店铺的分页信息，请重试！\n服务器拒绝连接", "未取得信息");
}

TEST_F(RunCollectionTest, PageOneWithoutProductsFails)
{
    LeaveEarlierRun();
    demo::DemoShopOptions options;
    options.faults = {{1, PageFault::NoItems}};
    EXPECT_EQ(Run(TmallHost, options), RunOutcome::Failed);
    ExpectFailure("没有发现商品，请重试！\n第 1 页有分页信息，但没有找到商品，页面结构可能已改变", "未发现商品");
    EXPECT_EQ(screen.rows.size(), 1u);
    EXPECT_EQ(screen.totalLabel, "earlier");
    EXPECT_EQ(screen.pageCountLabel, Gbk("商品总页数：3"));  // already shown
    EXPECT_EQ(Shop().requests().size(), 2u);                 // page 1 is not asked for again
}

TEST_F(RunCollectionTest, TmallShopPageWithoutTheQueryLinkStillAsks)
{
    demo::DemoShopOptions options;
    options.omitAsynLink = true;
    EXPECT_EQ(Run(TmallHost, options), RunOutcome::Failed);
    const auto requests = Shop().requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].path, "/i/asynSearch.htm");
    ExpectFailureStartingWith("未找到店铺的分页信息，请重试！\n收到的页面（HTTP 200，", "未取得信息");
}

TEST_F(RunCollectionTest, SettingsEditedDuringARunCountFromTheNextPage)
{
    screen.duringEvents = [](RecordingScreen& s) {
        s.settings.itemAreaEnd = "no such marker";
        return true;
    };
    EXPECT_EQ(Run(TaobaoHost), RunOutcome::CollectedWithLosses);
    ExpectSuccess(20, "\n第 2–3 页没有找到商品，页面结构可能已改变");
    EXPECT_EQ(Shop().requests().size(), 3u);
}

TEST_F(RunCollectionTest, ASecondRunStartsAgainFromOne)
{
    EXPECT_EQ(Run(TaobaoHost), RunOutcome::Collected);
    screen.messages.clear();
    screen.buttonStates.clear();
    screen.eventRounds = 0;
    EXPECT_EQ(Run(TaobaoHost), RunOutcome::Collected);
    EXPECT_EQ(screen.rows, ExpectedRows({}, Marketplace::Taobao));
    ExpectSuccess(60);
}

// The window gets its turn before each product; the product then shows in 标签1 and its row.
TEST_F(RunCollectionTest, EachProductFollowsItsRoundOfEvents)
{
    LeaveEarlierRun();
    std::vector<std::string> seen;  // label and row count at each round
    screen.duringEvents = [&](RecordingScreen& s) {
        seen.push_back(s.totalLabel + "/" + std::to_string(s.rows.size()));
        return true;
    };
    EXPECT_EQ(Run(TaobaoHost), RunOutcome::Collected);
    ASSERT_EQ(seen.size(), 60u);
    EXPECT_EQ(seen[0], "earlier/0");  // emptied before the first product, label not yet touched
    EXPECT_EQ(seen[1], Gbk("已经获取到宝贝：1") + "/1");
    EXPECT_EQ(seen[59], Gbk("已经获取到宝贝：59") + "/59");
}

TEST_F(RunCollectionTest, AClosingWindowEndsTheRunWithoutAWord)
{
    screen.duringEvents = [](RecordingScreen&) { return false; };
    EXPECT_EQ(Run(TaobaoHost), RunOutcome::Abandoned);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_EQ(Shop().requests().size(), 1u);
}

}  // namespace
}  // namespace korvel::test
