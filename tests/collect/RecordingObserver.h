#pragma once

// What a collection told its observer, and inputs a test may edit while the run goes on.

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "collect/CollectionObserver.h"

namespace korvel::test {

// The address and the markers at their start-up texts; `onRead` sees every read from the second
// on (the pages after the first) and may change what it returns.
struct EditableInputs : CollectionSettingsSource {
    CollectionInputs inputs;
    std::function<void(CollectionInputs&)> onLaterRead;
    mutable int reads = 0;

    CollectionInputs current() const override
    {
        CollectionInputs now = inputs;
        if (reads++ > 0 && onLaterRead)
            onLaterRead(now);
        return now;
    }
};

struct RecordingObserver : CollectionObserver {
    std::optional<int> pageCount;
    bool listed = false;
    std::vector<std::string> events;  // "count N", "list", "page N/M", "products N", "lost N", "end"
    std::vector<Product> products;
    std::vector<ProductSlice> slices;  // as handed over
    std::vector<LostPage> lost;
    int finishedCalls = 0;
    std::function<void(RecordingObserver&)> onProducts;  // after each batch

    void pageCountRead(int shown) override
    {
        pageCount = shown;
        events.push_back("count " + std::to_string(shown));
    }
    void listingStarted() override
    {
        listed = true;
        events.push_back("list");
    }
    void pageStarted(int page, int pages) override
    {
        events.push_back("page " + std::to_string(page) + "/" + std::to_string(pages));
    }
    void productsFound(const ProductSlice& found) override
    {
        events.push_back("products " + std::to_string(found->size()));
        slices.push_back(found);
        products.insert(products.end(), found->begin(), found->end());
        if (onProducts)
            onProducts(*this);
    }
    void pageLost(const LostPage& page) override
    {
        lost.push_back(page);
        events.push_back("lost " + std::to_string(page.page));
    }
    void finished(const CollectionRun&) override
    {
        ++finishedCalls;
        events.push_back("end");
    }

    // Number, then the seven fields, as the list shows them.
    std::vector<std::vector<std::string>> rows() const
    {
        std::vector<std::vector<std::string>> rows;
        for (const Product& p : products)
            rows.push_back({std::to_string(p.position), p.id, p.picture, p.title, p.salePrice, p.marketPrice, p.sold,
                            p.reviews});
        return rows;
    }
};

}  // namespace korvel::test
