#include <sqlite3.h>

#include <map>
#include <unordered_map>

#include "collect/ShopAddress.h"
#include "store/RunAssembly.h"
#include "store/RunSequence.h"
#include "store/StoreQueries.h"

namespace korvel::store {
namespace {

using Clock = std::chrono::system_clock;

Clock::time_point FromMilliseconds(std::int64_t ms)
{
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(ms)));
}

// The six fields from `first` on, in the tables' column order.
void ReadFields(const Statement& row, int first, Product& product)
{
    product.picture = row.bytes(first);
    product.title = row.bytes(first + 1);
    product.salePrice = row.bytes(first + 2);
    product.marketPrice = row.bytes(first + 3);
    product.sold = row.bytes(first + 4);
    product.reviews = row.bytes(first + 5);
}

std::map<std::int64_t, std::vector<LostPage>> LostPages(Database& db, std::int64_t shop)
{
    Statement select = db.prepare(
        "SELECT l.run, l.page, l.cause FROM lost_page l JOIN run r ON r.id = l.run WHERE r.shop = ?"
        " ORDER BY l.rowid");
    select.bind(1, shop);
    std::map<std::int64_t, std::vector<LostPage>> pages;
    while (select.step())
        pages[select.integer(0)].push_back({int(select.integer(1)), select.bytes(2)});
    return pages;
}

// Each product's state in the run, by product row.
std::unordered_map<std::int64_t, Product> StatesAt(Database& db, const StoredRun& run)
{
    Statement select = db.prepare(
        "SELECT p.id, p.item, s.picture, s.title, s.sale_price, s.market_price, s.sold, s.reviews"
        " FROM product p JOIN state s ON s.product = p.id"
        " WHERE p.shop = ?1 AND s.first_run <= ?2 AND s.last_run >= ?2");
    select.bind(1, run.shop).bind(2, run.id);
    std::unordered_map<std::int64_t, Product> states;
    states.reserve(size_t(run.summary.productCount));
    while (select.step()) {
        Product& product = states[select.integer(0)];
        product.id = select.bytes(1);
        ReadFields(select, 2, product);
    }
    return states;
}

// The later products of the run whose ID came earlier in it, by position.
std::unordered_map<std::int64_t, Product> Repeats(Database& db, std::int64_t runId)
{
    Statement select = db.prepare(
        "SELECT position, picture, title, sale_price, market_price, sold, reviews FROM repeat_row WHERE run = ?");
    select.bind(1, runId);
    std::unordered_map<std::int64_t, Product> repeats;
    while (select.step())
        ReadFields(select, 1, repeats[select.integer(0)]);
    return repeats;
}

}  // namespace

std::int64_t OutcomeCode(RunEnd end)
{
    switch (end) {
    case RunEnd::Complete: return 0;
    case RunEnd::Incomplete: return 1;
    case RunEnd::Failed: return 2;
    case RunEnd::Interrupted: return 3;
    }
    return 3;
}

RunEnd OutcomeFrom(std::int64_t code)
{
    constexpr RunEnd ends[] = {RunEnd::Complete, RunEnd::Incomplete, RunEnd::Failed, RunEnd::Interrupted};
    return code >= 0 && code < 4 ? ends[code] : RunEnd::Interrupted;
}

std::optional<std::int64_t> ShopId(Database& db, const std::string& host)
{
    Statement select = db.prepare("SELECT id FROM shop WHERE host = ?");
    select.bind(1, ShopKey(host));
    if (!select.step())
        return std::nullopt;
    return select.integer(0);
}

std::vector<std::string> ShopHosts(Database& db)
{
    Statement select = db.prepare("SELECT host FROM shop WHERE id IN (SELECT shop FROM run) ORDER BY host");
    std::vector<std::string> hosts;
    while (select.step())
        hosts.push_back(select.bytes(0));
    return hosts;
}

std::vector<StoredRun> StoredRuns(Database& db, const std::string& host)
{
    const auto shop = ShopId(db, host);
    if (!shop)
        return {};
    Statement select = db.prepare(
        "SELECT id, number, family, started_ms, ended_ms, outcome, page_count, pages_collected, product_count,"
        " failure_cause, version FROM run WHERE shop = ? ORDER BY number");
    select.bind(1, *shop);
    auto lost = LostPages(db, *shop);
    std::vector<StoredRun> runs;
    while (select.step()) {
        StoredRun& run = runs.emplace_back();
        run.id = select.integer(0);
        run.shop = *shop;
        RunSummary& summary = run.summary;
        summary.number = select.integer(1);
        summary.shopHost = ShopKey(host);
        summary.family = select.integer(2) == 1 ? ShopFamily::Tmall : ShopFamily::Taobao;
        summary.started = FromMilliseconds(select.integer(3));
        summary.ended = FromMilliseconds(select.integer(4));
        summary.end = OutcomeFrom(select.integer(5));
        summary.pageCount = int(select.integer(6));
        summary.pagesCollected = int(select.integer(7));
        summary.productCount = int(select.integer(8));
        summary.failureCause = select.bytes(9);
        summary.version = select.bytes(10);
        summary.lostPages = std::move(lost[run.id]);
    }
    return runs;
}

std::vector<Product> ReadProducts(Database& db, const StoredRun& run)
{
    Statement select = db.prepare("SELECT products, pages FROM run_items WHERE run = ?");
    select.bind(1, run.id);
    if (!select.step())
        return {};
    auto pieces = ReadSequence(select.view(0), select.view(1), run.summary.productCount);
    if (!pieces)
        throw SqliteFailure{SQLITE_CORRUPT, "run " + std::to_string(run.summary.number) +
                                                " lists other than its product count"};
    pieces->states = StatesAt(db, run);
    pieces->repeats = Repeats(db, run.id);
    auto products = AssembleRun(std::move(*pieces));
    if (!products)
        throw SqliteFailure{SQLITE_CORRUPT, "run without its product's state"};
    return std::move(*products);
}

LowestPrices LowestBefore(Database& db, const StoredRun& run)
{
    Statement select = db.prepare(
        "SELECT p.item, s.sale_price FROM product p JOIN state s ON s.product = p.id"
        " WHERE p.shop = ? AND s.first_complete < ?");
    select.bind(1, run.shop).bind(2, run.id);
    LowestPrices lowest;
    while (select.step())
        KeepLowest(lowest, select.bytes(0), select.view(1));
    return lowest;
}

}  // namespace korvel::store
