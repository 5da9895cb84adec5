#include "store/RunSequence.h"
#include "store/StoreQueries.h"

namespace korvel::store {
namespace {

struct State {
    std::int64_t firstRun = 0;
    std::int64_t lastRun = 0;
    std::string salePrice;
    std::string sold;
};

std::vector<State> States(Database& db, std::int64_t product)
{
    Statement select = db.prepare(
        "SELECT first_run, last_run, sale_price, sold FROM state WHERE product = ? ORDER BY first_run");
    select.bind(1, product);
    std::vector<State> states;
    while (select.step())
        states.push_back({select.integer(0), select.integer(1), select.bytes(2), select.bytes(3)});
    return states;
}

std::optional<std::int64_t> ProductId(Database& db, std::int64_t shop, const std::string& id)
{
    Statement select = db.prepare("SELECT id FROM product WHERE shop = ? AND item = ?");
    select.bind(1, shop).bind(2, id);
    if (!select.step())
        return std::nullopt;
    return select.integer(0);
}

const State* StateAt(const std::vector<State>& states, std::int64_t run)
{
    for (const State& state : states) {
        if (state.firstRun <= run && run <= state.lastRun)
            return &state;
    }
    return nullptr;
}

}  // namespace

std::vector<SeriesPoint> ProductSeries(Database& db, const std::string& host, const std::string& id)
{
    const auto shop = ShopId(db, host);
    const auto product = shop ? ProductId(db, *shop, id) : std::nullopt;
    if (!product)
        return {};
    const std::vector<State> states = States(db, *product);
    if (states.empty())
        return {};
    // Only the runs inside the product's states can show it; each is looked through for it.
    Statement select = db.prepare(
        "SELECT r.number, r.started_ms, r.outcome, r.id, i.products FROM run r JOIN run_items i ON i.run = r.id"
        " WHERE r.shop = ? AND r.id BETWEEN ? AND ? ORDER BY r.id");
    select.bind(1, *shop).bind(2, states.front().firstRun).bind(3, states.back().lastRun);
    std::vector<SeriesPoint> series;
    while (select.step()) {
        const State* state = StateAt(states, select.integer(3));
        if (state == nullptr || !HoldsVarint(select.view(4), static_cast<std::uint64_t>(*product)))
            continue;
        const std::chrono::milliseconds started(select.integer(1));
        series.push_back({select.integer(0), std::chrono::system_clock::time_point(started),
                          OutcomeFrom(select.integer(2)), state->salePrice, state->sold});
    }
    return series;
}

}  // namespace korvel::store
