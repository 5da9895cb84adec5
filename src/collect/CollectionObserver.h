#pragma once

// What a collection tells whoever watches it, and where it reads the shop and the markers. Both
// are called from the run's own thread: a view posts the events on to its own thread, and a
// settings source answers from a snapshot it keeps under a lock.

#include <string>
#include <iterator>
#include <utility>
#include <vector>

#include "collect/CollectionRun.h"
#include "collect/DiscoverPages.h"

namespace korvel {

// The address field and the four markers as they stand.
struct CollectionInputs {
    std::string address;
    CollectionSettings settings = DefaultCollectionSettings();
};

// Read once at the start and again before every later page, so that edits made during a run
// count from the next page on. Must answer from any thread.
class CollectionSettingsSource {
public:
    virtual ~CollectionSettingsSource() = default;
    virtual CollectionInputs current() const = 0;
};

// Fixed inputs, for a run nobody edits.
class FixedInputs : public CollectionSettingsSource {
public:
    explicit FixedInputs(CollectionInputs inputs) : inputs_(std::move(inputs)) {}
    CollectionInputs current() const override { return inputs_; }

private:
    CollectionInputs inputs_;
};

class CollectionObserver {
public:
    virtual ~CollectionObserver() = default;
    // Page 1 gave its paging: the count exactly as the page wrote it (0 and runaway counts too).
    virtual void pageCountRead(int /*shown*/) {}
    // Page 1 has products: this run's list starts here and replaces the previous one.
    virtual void listingStarted() {}
    virtual void pageStarted(int /*page*/, int /*pageCount*/) {}
    // A page's products in page order, numbered on from the run's earlier pages. They are handed
    // over: the run keeps no copy.
    virtual void productsFound(std::vector<Product> /*products*/) {}
    virtual void pageLost(const LostPage& /*lost*/) {}
    // The last event: the run's record, its products left to whoever took them above.
    virtual void finished(const CollectionRun& /*run*/) {}
};

// Keeps every product the run hands over, for a caller that wants the whole record.
class ProductCollector : public CollectionObserver {
public:
    void listingStarted() override { products.clear(); }
    void productsFound(std::vector<Product> found) override
    {
        products.insert(products.end(), std::make_move_iterator(found.begin()),
                        std::make_move_iterator(found.end()));
    }

    std::vector<Product> products;
};

}  // namespace korvel
