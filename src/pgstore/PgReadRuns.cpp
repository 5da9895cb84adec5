#include <chrono>
#include <map>

#include "collect/ShopAddress.h"
#include "pgstore/PgRecords.h"
#include "store/RunAssembly.h"
#include "store/RunSequence.h"

namespace korvel::pg {
namespace {

using Clock = std::chrono::system_clock;

Clock::time_point At(long long milliseconds)
{
    return Clock::time_point(std::chrono::milliseconds(milliseconds));
}

// The six fields from `first` on, in the tables' column order.
void ReadFields(const Result& rows, int row, int first, Product& product)
{
    product.picture = rows.bytes(row, first);
    product.title = rows.bytes(row, first + 1);
    product.salePrice = rows.bytes(row, first + 2);
    product.marketPrice = rows.bytes(row, first + 3);
    product.sold = rows.bytes(row, first + 4);
    product.reviews = rows.bytes(row, first + 5);
}

std::map<std::int64_t, std::vector<LostPage>> LostPages(Connection& connection, const std::string& shop)
{
    const Result rows = connection.exec(
        "SELECT l.run, l.page, l.cause FROM lost_page l JOIN run r ON r.id = l.run WHERE r.shop = $1"
        " ORDER BY l.run, l.page",
        {shop});
    std::map<std::int64_t, std::vector<LostPage>> pages;
    for (int row = 0; row < rows.rows(); ++row)
        pages[rows.integer(row, 0)].push_back({int(rows.integer(row, 1)), rows.bytes(row, 2)});
    return pages;
}

RunSummary Summary(const Result& rows, int row, const std::string& host)
{
    RunSummary summary;
    summary.number = rows.integer(row, 1);
    summary.shopHost = host;
    summary.family = rows.integer(row, 2) == 1 ? ShopFamily::Tmall : ShopFamily::Taobao;
    summary.started = At(rows.integer(row, 3));
    summary.ended = At(rows.integer(row, 4));
    summary.end = store::OutcomeFrom(rows.integer(row, 5));
    summary.pageCount = int(rows.integer(row, 6));
    summary.pagesCollected = int(rows.integer(row, 7));
    summary.productCount = int(rows.integer(row, 8));
    summary.failureCause = rows.bytes(row, 9);
    summary.version = rows.text(row, 10);
    return summary;
}

// Each product's state at the run, by product row.
std::unordered_map<std::int64_t, Product> StatesAt(Connection& connection, const StoredRun& run)
{
    const Result rows = connection.exec(
        "SELECT p.id, p.item, s.picture, s.title, s.sale_price, s.market_price, s.sold, s.reviews"
        " FROM product p JOIN state s ON s.product = p.id"
        " WHERE p.shop = $1 AND s.first_run <= $2 AND s.last_run >= $2",
        {std::to_string(run.shop), std::to_string(run.summary.number)});
    std::unordered_map<std::int64_t, Product> states;
    states.reserve(size_t(rows.rows()));
    for (int row = 0; row < rows.rows(); ++row) {
        Product& product = states[rows.integer(row, 0)];
        product.id = rows.bytes(row, 1);
        ReadFields(rows, row, 2, product);
    }
    return states;
}

std::unordered_map<std::int64_t, Product> Repeats(Connection& connection, std::int64_t run)
{
    const Result rows = connection.exec(
        "SELECT position, picture, title, sale_price, market_price, sold, reviews FROM repeat_row WHERE run = $1",
        {std::to_string(run)});
    std::unordered_map<std::int64_t, Product> repeats;
    for (int row = 0; row < rows.rows(); ++row)
        ReadFields(rows, row, 1, repeats[rows.integer(row, 0)]);
    return repeats;
}

}  // namespace

std::vector<StoredRun> StoredRuns(Connection& connection, const std::string& host)
{
    const Result shop = connection.exec("SELECT id FROM shop WHERE host = $1::bytea", {HexBytes(ShopKey(host))});
    if (shop.rows() == 0)
        return {};
    const std::string shopId = shop.text(0, 0);
    const Result rows = connection.exec(
        "SELECT id, number, family, started_ms, ended_ms, outcome, page_count, pages_collected, product_count,"
        " failure_cause, version FROM run WHERE shop = $1 ORDER BY number",
        {shopId});
    auto lost = LostPages(connection, shopId);
    std::vector<StoredRun> runs;
    for (int row = 0; row < rows.rows(); ++row) {
        StoredRun& run = runs.emplace_back(StoredRun{rows.integer(row, 0), shop.integer(0, 0), Summary(rows, row, ShopKey(host))});
        run.summary.lostPages = std::move(lost[run.id]);
    }
    return runs;
}

std::vector<Product> ReadProducts(Connection& connection, const StoredRun& run)
{
    const Result items =
        connection.exec("SELECT products, pages FROM run_items WHERE run = $1", {std::to_string(run.id)});
    if (items.rows() == 0)
        return {};
    auto pieces = store::ReadSequence(items.bytes(0, 0), items.bytes(0, 1), run.summary.productCount);
    if (!pieces)
        throw PgFailure{"run " + std::to_string(run.summary.number) + " of " + run.summary.shopHost +
                        " lists other than its product count: the store is damaged"};
    pieces->states = StatesAt(connection, run);
    pieces->repeats = Repeats(connection, run.id);
    auto products = store::AssembleRun(std::move(*pieces));
    if (!products)
        throw PgFailure{"run " + std::to_string(run.summary.number) + " of " + run.summary.shopHost +
                        " lacks a product's state: the store is damaged"};
    return std::move(*products);
}

LowestPrices LowestBefore(Connection& connection, const StoredRun& run)
{
    const Result rows = connection.exec(
        "SELECT p.item, s.sale_price FROM product p JOIN state s ON s.product = p.id"
        " WHERE p.shop = $1 AND s.first_complete < $2",
        {std::to_string(run.shop), std::to_string(run.summary.number)});
    LowestPrices lowest;
    for (int row = 0; row < rows.rows(); ++row)
        store::KeepLowest(lowest, rows.bytes(row, 0), rows.bytes(row, 1));
    return lowest;
}

std::optional<CollectionRun> LoadRun(Connection& connection, const std::string& host, std::int64_t number)
{
    for (const StoredRun& stored : StoredRuns(connection, host)) {
        if (stored.summary.number == number)
            return store::RunFrom(stored.summary, ReadProducts(connection, stored));
    }
    return std::nullopt;
}

std::vector<SeriesPoint> ProductSeries(Connection& connection, const std::string& host, const std::string& id)
{
    const Result product = connection.exec(
        "SELECT p.id, p.shop FROM product p JOIN shop s ON s.id = p.shop WHERE s.host = $1::bytea AND p.item = $2::bytea",
        {HexBytes(ShopKey(host)), HexBytes(id)});
    if (product.rows() == 0)
        return {};
    const std::string productRow = product.text(0, 0);
    const Result states = connection.exec(
        "SELECT first_run, last_run, sale_price, sold FROM state WHERE product = $1 ORDER BY first_run", {productRow});
    if (states.rows() == 0)
        return {};
    // Only the runs inside the product's states can show it; each is looked through for it.
    const Result runs = connection.exec(
        "SELECT r.number, r.started_ms, r.outcome, i.products FROM run r JOIN run_items i ON i.run = r.id"
        " WHERE r.shop = $1 AND r.number BETWEEN $2 AND $3 ORDER BY r.number",
        {product.text(0, 1), states.text(0, 0), states.text(states.rows() - 1, 1)});
    std::vector<SeriesPoint> series;
    int state = 0;
    for (int row = 0; row < runs.rows(); ++row) {
        const std::int64_t number = runs.integer(row, 0);
        while (state < states.rows() && states.integer(state, 1) < number)
            ++state;
        if (state == states.rows() || states.integer(state, 0) > number ||
            !store::HoldsVarint(runs.bytes(row, 3), static_cast<std::uint64_t>(product.integer(0, 0))))
            continue;
        series.push_back({number, At(runs.integer(row, 1)), store::OutcomeFrom(runs.integer(row, 2)),
                          states.bytes(state, 2), states.bytes(state, 3)});
    }
    return series;
}

}  // namespace korvel::pg
