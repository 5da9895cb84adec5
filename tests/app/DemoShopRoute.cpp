#include "DemoShopRoute.h"

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace korvel::test {

demo::DemoShop& RoutedDemoShop()
{
    static const std::unique_ptr<demo::DemoShop> shop = [] {
        auto s = std::make_unique<demo::DemoShop>();
        if (!s->start()) {
            throw std::runtime_error("the demo shop did not start");
        }
        const std::string route = s->connectTo(kTaobaoHost) + "," + s->connectTo(kTmallHost);
        setenv("KORVEL_CONNECT_TO", route.c_str(), 1);
        setenv("KORVEL_CA_FILE", s->caFile().c_str(), 1);
        return s;
    }();
    return *shop;
}

}  // namespace korvel::test
