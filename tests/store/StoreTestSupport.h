#pragma once

// Products, runs and changes written shortly in the store's tests.

#include <string>
#include <vector>

#include "collect/CollectionRun.h"
#include "store/Changes.h"

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
    run.products = Numbered(std::move(products));
    return run;
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
