#pragma once

// Products, runs and changes written shortly in the store's tests.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "collect/CollectionRun.h"
#include "store/Changes.h"
#include "store/Store.h"
#include "support/TestGbk.h"

namespace korvel::test {

// id, sale price, then optionally sold and title; the other fields are fixed.
inline Product Item(std::string id, std::string price, std::string sold = "5", std::string title = "T")
{
    Product p;
    p.title = title.empty() ? "T" : std::move(title);
    p.id = std::move(id);
    p.salePrice = std::move(price);
    p.marketPrice = "99";
    p.picture = "//img/" + p.id + ".jpg";
    p.sold = std::move(sold);
    p.reviews = "1";
    p.page = 1;
    return p;
}

inline std::vector<Product> Numbered(std::vector<Product> products)
{
    for (size_t i = 0; i < products.size(); ++i)
        products[i].position = int(i) + 1;
    return products;
}

inline CollectionRun ShopRun(std::vector<Product> products, RunEnd end = RunEnd::Complete,
                             std::string host = "shop.taobao.com")
{
    CollectionRun run;
    run.shopHost = std::move(host);
    run.end = end;
    run.pageCount = 1;
    run.pagesCollected = 1;
    run.products = RunProducts(Numbered(std::move(products)));
    return run;
}

// The store at `path`, or the test stops with why it cannot be opened.
inline std::unique_ptr<Store> OpenAt(const std::string& path, const std::string& version = "3.8")
{
    auto opened = OpenStore(path, version);
    if (!opened.ok())
        throw std::runtime_error(Utf8(opened.error().cause));
    return std::move(opened.value());
}

// A recorded run's products, as one list.
inline StoreResult<std::vector<Product>> ProductsOf(Store& store, const std::string& host,
                                                    std::int64_t number)
{
    auto run = store.run(host, number);
    if (!run.ok())
        return run.error();
    return std::vector<Product>(run.value().products.begin(), run.value().products.end());
}

// "kind id before>after delta percent", "-" for what is not there.
inline std::string Shown(const Change& change)
{
    auto or_ = [](const std::optional<std::string>& text) { return text ? *text : "-"; };
    return std::string(ChangeKindName(change.kind)) + " " + change.id + " " + or_(change.before) + ">" +
           or_(change.after) + " " + or_(change.delta) + " " + or_(change.percent);
}

inline std::vector<std::string> Shown(const std::vector<Change>& changes)
{
    std::vector<std::string> shown;
    for (const Change& change : changes)
        shown.push_back(Shown(change));
    return shown;
}

}  // namespace korvel::test
