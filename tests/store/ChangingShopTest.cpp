// A demo shop that changes between collections, collected again and again through korvel-collect:
// what `--changes --jsonl` reports after each run, read from the shop's own catalogue.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "demo-shop/DemoShop.h"
#include "demo-shop/ShopCatalog.h"
#include "store/CollectProgram.h"
#include "store/StoreTempDir.h"

namespace korvel::test {
namespace {

constexpr char Host[] = "changing.taobao.com";

// The catalogue's title of an entry, in UTF-8 as the report gives it.
std::string Title(int page, int index)
{
    return demo::CatalogItem({}, demo::Marketplace::Taobao, page, index).title;
}

std::string Id(int page, int index)
{
    return demo::CatalogItem({}, demo::Marketplace::Taobao, page, index).productId;
}

std::string Quoted(const std::optional<std::string>& text)
{
    return text ? "\"" + *text + "\"" : "null";
}

struct Change {
    std::string id;
    std::string kind;
    std::optional<std::string> before;
    std::optional<std::string> after;
    std::string delta;    // as the JSON has it
    std::string percent;  // as the JSON has it
    std::string title;
};

std::string JsonLines(const std::vector<Change>& changes, int runBefore, int runAfter)
{
    std::string lines;
    for (const Change& c : changes)
        lines += std::string("{\"shop\":\"") + Host + "\",\"id\":\"" + c.id + "\",\"kind\":\"" + c.kind +
                 "\",\"before\":" + Quoted(c.before) + ",\"after\":" + Quoted(c.after) + ",\"delta\":" + c.delta +
                 ",\"percent\":" + c.percent + ",\"title\":\"" + c.title +
                 "\",\"run_before\":" + std::to_string(runBefore) + ",\"run_after\":" +
                 std::to_string(runAfter) + "}\n";
    return lines;
}

class ChangingShopTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(shop.start()); }

    // One collection of the shop as it stands now, recorded in the test's store.
    Finished Collect() const
    {
        return RunCollect(dir.path, {Host, "--store", store, "--retries", "0"}, Routing());
    }

    Finished Changes() const
    {
        return RunCollect(dir.path, {"--changes", Host, "--store", store, "--jsonl", "-"}, Routing());
    }

    std::vector<std::string> Routing() const
    {
        return {"KORVEL_CONNECT_TO=" + shop.connectTo(Host), "KORVEL_CA_FILE=" + shop.caFile(),
                "XDG_DATA_HOME=" + dir.path};
    }

    StoreTempDir dir;
    std::string store = dir.file("history.sqlite");
    demo::DemoShop shop;
};

// Catalogue prices: (1,0) 89.09, (1,1) 146.38, (2,0) 168.28, (2,1) 225.57; sold (1,1) 148.
TEST_F(ChangingShopTest, EachRunIsComparedWithTheLatestCompleteOne)
{
    demo::DemoShopOptions options;
    options.pages = 2;
    options.itemsPerPage = 3;
    shop.setOptions(options);
    ASSERT_EQ(Collect().status, 0);
    const Finished nothingYet = Changes();
    EXPECT_EQ(nothingYet.status, 0);
    EXPECT_EQ(nothingYet.output, "");
    EXPECT_NE(nothingYet.errors.find("nothing to compare yet"), std::string::npos) << nothingYet.errors;

    // A third page, the last entry of each page taken down, prices up and down, a new title.
    options.pages = 3;
    options.itemsPerPage = 2;
    options.salePrices = {{{1, 0}, "71.27"}, {{2, 1}, "250"}};
    options.soldCounts = {{{1, 1}, "200"}};
    options.titles = {{{2, 0}, "限量版 &amp; 新品"}};
    shop.setOptions(options);
    ASSERT_EQ(Collect().status, 0);
    Finished second = Changes();
    EXPECT_EQ(second.status, 0) << second.errors;
    EXPECT_EQ(second.output,
              JsonLines({{Id(1, 0), "price", "89.09 ", "71.27 ", "-17.82", "-20.00", Title(1, 0)},
                         {Id(1, 0), "lowest", "89.09 ", "71.27 ", "-17.82", "-20.00", Title(1, 0)},
                         {Id(1, 1), "sold", "148", "200", "52", "35.14", Title(1, 1)},
                         {Id(2, 0), "title", Title(2, 0), "限量版 & 新品", "null", "null", "限量版 & 新品"},
                         {Id(2, 1), "price", "225.57 ", "250 ", "24.43", "10.83", Title(2, 1)},
                         {Id(3, 0), "new", std::nullopt, Title(3, 0), "null", "null", Title(3, 0)},
                         {Id(3, 1), "new", std::nullopt, Title(3, 1), "null", "null", Title(3, 1)},
                         {Id(1, 2), "removed", Title(1, 2), std::nullopt, "null", "null", Title(1, 2)},
                         {Id(2, 2), "removed", Title(2, 2), std::nullopt, "null", "null", Title(2, 2)}},
                        1, 2));

    // Page 2 fails: its entries are lost, not taken down; a price seen only in this incomplete run
    // is no earlier low.
    options.faults = {{2, demo::PageFault::ServerError}};
    options.salePrices = {{{1, 1}, "1.00"}, {{2, 1}, "250"}};
    shop.setOptions(options);
    EXPECT_NE(Collect().status, 0);
    const Finished third = Changes();
    EXPECT_EQ(third.status, 0) << third.errors;
    EXPECT_EQ(third.output,
              JsonLines({{Id(1, 0), "price", "71.27 ", "89.09 ", "17.82", "25.00", Title(1, 0)},
                         {Id(1, 1), "price", "146.38 ", "1.00 ", "-145.38", "-99.32", Title(1, 1)},
                         {Id(1, 1), "lowest", "146.38 ", "1.00 ", "-145.38", "-99.32", Title(1, 1)}},
                        2, 3));
    EXPECT_EQ(third.errors, "第 2 页未能取得（服务器返回 HTTP 500），该页上的商品不算作已下架\n");

    // Complete again: compared with the second run, and the lowest price is that of complete runs.
    options.faults.clear();
    options.salePrices = {{{1, 1}, "50.00"}, {{2, 1}, "250"}};
    shop.setOptions(options);
    ASSERT_EQ(Collect().status, 0);
    const Finished fourth = Changes();
    EXPECT_EQ(fourth.status, 0) << fourth.errors;
    EXPECT_EQ(fourth.errors, "");
    EXPECT_EQ(fourth.output,
              JsonLines({{Id(1, 0), "price", "71.27 ", "89.09 ", "17.82", "25.00", Title(1, 0)},
                         {Id(1, 1), "price", "146.38 ", "50.00 ", "-96.38", "-65.84", Title(1, 1)},
                         {Id(1, 1), "lowest", "146.38 ", "50.00 ", "-96.38", "-65.84", Title(1, 1)}},
                        2, 4));
}

}  // namespace
}  // namespace korvel::test
