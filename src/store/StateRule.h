#pragma once

// The one rule by which both stores keep a product's state as an interval of runs: a product whose
// six fields are as its latest state left them extends that state to this run; a new product or a
// changed one starts a new state; a later occurrence of an ID already seen in the run is kept whole
// as a repeat. Each store writes the steps with its own SQL.

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "collect/Product.h"

namespace korvel::store {

// A product's row and its latest state as the runs before this one left them. `state` is the
// store's key of that state (SQLite: its row; PostgreSQL: its first run).
struct KnownState {
    std::int64_t product = 0;
    std::int64_t state = 0;
    Product fields;
};

enum class StateStep {
    Extend,    // unchanged: the latest state reaches this run too
    NewState,  // new or changed: a state from this run on
    Repeat,    // the ID again in this run: the row kept whole
};

struct StateDecision {
    StateStep step = StateStep::NewState;
    bool newProduct = false;  // the shop has not had this ID: its row was just made
    const KnownState* known = nullptr;
};

// The six fields a state keeps.
bool SameFields(const Product& a, const Product& b);

class StateRule {
public:
    using ProductKeys = std::unordered_map<std::string, KnownState>;
    explicit StateRule(ProductKeys known) : known_(std::move(known)) {}

    bool knows(const std::string& id) const { return known_.contains(id); }
    // The step for the run's next product; `newRow` makes the row of an ID the shop has not had.
    StateDecision decide(const Product& product, const std::function<std::int64_t()>& newRow);

private:
    ProductKeys known_;
    std::unordered_set<std::int64_t> seen_;
};

}  // namespace korvel::store
