#include <gtest/gtest.h>

#include "batch/ShopBlock.h"

namespace korvel::batch {
namespace {

CollectionRun RunWithTwoProducts()
{
    CollectionRun run;
    run.shopHost = "shop1.taobao.com";
    run.pageCount = 3;
    run.pagesCollected = 2;
    run.end = RunEnd::Incomplete;
    run.lostPages = {{2, "\xB3\xAC\xCA\xB1"}};  // 超时
    // 店 (GBK), a character reference, blanks around the numbers.
    run.products.append(std::vector<Product>{
        {" 101 ", "//img/a.jpg", "\xB5\xEA &amp; \"x\"", " 9.90 ", "19.00", " 5", "0", 1, 1}});
    run.products.append(std::vector<Product>{{"102", "//img/b.jpg", "b", "1", "2", "3", "4", 3, 2}});
    return run;
}

TEST(JsonLines, ProductsThenTheShopLine)
{
    EXPECT_EQ(
        JsonLines(BlockOf(RunWithTwoProducts(), ShopOutcome::Incomplete, 17)),
        "{\"type\":\"product\",\"shop\":\"shop1.taobao.com\",\"id\":\"101\",\"picture\":\"//img/a.jpg\","
        "\"title\":\"\xE5\xBA\x97 & \\\"x\\\"\",\"price\":\"9.90\",\"market_price\":\"19.00\",\"sold\":\"5\","
        "\"reviews\":\"0\",\"page\":1,\"position\":1,\"run\":17}\n"
        "{\"type\":\"product\",\"shop\":\"shop1.taobao.com\",\"id\":\"102\",\"picture\":\"//img/b.jpg\","
        "\"title\":\"b\",\"price\":\"1\",\"market_price\":\"2\",\"sold\":\"3\",\"reviews\":\"4\",\"page\":3,"
        "\"position\":2,\"run\":17}\n"
        "{\"type\":\"shop\",\"shop\":\"shop1.taobao.com\",\"outcome\":\"incomplete\",\"products\":2,"
        "\"pages\":3,\"lost_pages\":[2],\"cause\":\"\xE8\xB6\x85\xE6\x97\xB6\",\"run\":17}\n");
}

TEST(JsonLines, CompleteAndFailedShops)
{
    CollectionRun complete;
    complete.shopHost = "a.tmall.com";
    complete.pageCount = 1;
    complete.end = RunEnd::Complete;
    EXPECT_EQ(
        JsonLines(BlockOf(complete, ShopOutcome::Complete, 1)),
        "{\"type\":\"shop\",\"shop\":\"a.tmall.com\",\"outcome\":\"complete\",\"products\":0,\"pages\":1,"
        "\"lost_pages\":[],\"cause\":null,\"run\":1}\n");
    CollectionRun failed;
    failed.shopHost = "b.tmall.com";
    failed.end = RunEnd::Failed;
    failed.failureCause = "HTTP 403";
    EXPECT_EQ(
        JsonLines(BlockOf(failed, ShopOutcome::Blocked, 2)),
        "{\"type\":\"shop\",\"shop\":\"b.tmall.com\",\"outcome\":\"blocked\",\"products\":0,\"pages\":0,"
        "\"lost_pages\":[],\"cause\":\"HTTP 403\",\"run\":2}\n");
}

}  // namespace
}  // namespace korvel::batch
