#pragma once

// What a collection tells whoever watches it, and where it reads the shop and the markers. Both
// are called from the run's own thread: a view posts the events on to its own thread, and a
// settings source answers from a snapshot it keeps under a lock.

#include <string>
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
    // A page's products in page order, numbered on from the run's earlier pages: the slice the run
    // keeps, which a view may keep too.
    virtual void productsFound(const ProductSlice& /*products*/) {}
    virtual void pageLost(const LostPage& /*lost*/) {}
    // The last event: the run's record, whole.
    virtual void finished(const CollectionRun& /*run*/) {}
};

}  // namespace korvel
