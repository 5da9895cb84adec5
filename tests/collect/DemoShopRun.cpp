#include "DemoShopRun.h"

#include "collect/ResultPages.h"
#include "web/HttpSettings.h"

namespace korvel::test {

std::unique_ptr<demo::DemoShop> DemoShopRun::shop_;

void DemoShopRun::SetUpTestSuite()
{
    if (shop_)
        return;
    shop_ = std::make_unique<demo::DemoShop>();
    ASSERT_TRUE(shop_->start());
    SetConnectTo(shop_->connectTo(TaobaoHost) + "," + shop_->connectTo(TmallHost));
    SetExtraCaFile(shop_->caFile());
    // A connection kept open would hold the shop's worker for its keep-alive time when the
    // program ends; these runs are few enough to open one per request.
    SetConnectionReuse(false);
    // Once a page has been answered the server's loop is running; a stop before that would be
    // missed by the server and leave its thread waiting for a connection at exit.
    Cancellation never;
    ASSERT_FALSE(FetchPage(TmallShopPageRequest(TmallHost), {}, never).text.empty());
}

void DemoShopRun::SetUp()
{
    ASSERT_TRUE(shop_);
    shop_->setOptions({});
    shop_->clearRequests();
}

std::vector<std::string> DemoShopRun::RoutingEnvironment()
{
    return {"KORVEL_CONNECT_TO=" + shop_->connectTo(TaobaoHost) + "," + shop_->connectTo(TmallHost),
            "KORVEL_CA_FILE=" + shop_->caFile()};
}

std::vector<std::vector<std::string>> DemoShopRun::ExpectedRows(const demo::DemoShopOptions& options,
                                                                demo::Marketplace family)
{
    std::vector<std::vector<std::string>> rows;
    for (const auto& item : demo::ExpectedItems(options, family)) {
        rows.push_back({std::to_string(rows.size() + 1), item.productId, item.imageAddress, item.title,
                        item.salePrice, item.marketPrice, item.sold, item.reviews});
    }
    return rows;
}

}  // namespace korvel::test
