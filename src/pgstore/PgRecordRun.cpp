#include <chrono>
#include <unordered_set>

#include "collect/ShopAddress.h"
#include "pgstore/PgCopy.h"
#include "pgstore/PgRecords.h"
#include "store/RunSequence.h"
#include "store/StateRule.h"

namespace korvel::pg {
namespace {

using store::KnownState;
using store::StateDecision;
using store::StateRule;
using store::StateStep;

std::string Milliseconds(std::chrono::system_clock::time_point at)
{
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count());
}

void AddFields(BinaryRows& rows, const Product& product)
{
    for (const std::string* field : {&product.picture, &product.title, &product.salePrice, &product.marketPrice,
                                     &product.sold, &product.reviews})
        rows.bytea(*field);
}

std::int64_t ShopId(Connection& connection, const std::string& host)
{
    const std::string bytes = HexBytes(ShopKey(host));
    connection.exec("INSERT INTO shop(host) VALUES($1::bytea) ON CONFLICT DO NOTHING", {bytes});
    // Locked until the commit, so two programs recording one shop number their runs in turn.
    return connection.exec("SELECT id FROM shop WHERE host = $1::bytea FOR UPDATE", {bytes}).integer(0, 0);
}

RecordedRun InsertRun(Connection& connection, std::int64_t shop, const CollectionRun& run, const std::string& version)
{
    const std::string shopText = std::to_string(shop);
    const Result inserted = connection.exec(
        "INSERT INTO run(shop, number, family, started_ms, ended_ms, outcome, page_count, pages_collected,"
        " product_count, failure_cause, version) SELECT $1, coalesce(max(number), 0) + 1, $2, $3, $4, $5, $6, $7,"
        " $8, $9::bytea, $10 FROM run WHERE shop = $1 RETURNING id, number",
        {shopText, run.family == ShopFamily::Tmall ? "1" : "0", Milliseconds(run.started), Milliseconds(run.ended),
         std::to_string(store::OutcomeCode(run.end)), std::to_string(run.pageCount),
         std::to_string(run.pagesCollected), std::to_string(run.products.size()), HexBytes(run.failureCause),
         version});
    return {inserted.integer(0, 0), inserted.integer(0, 1)};
}

StateRule::ProductKeys LatestStates(Connection& connection, std::int64_t shop)
{
    const Result rows = connection.exec(
        "SELECT DISTINCT ON (s.product) p.item, p.id, s.first_run, s.picture, s.title, s.sale_price, s.market_price,"
        " s.sold, s.reviews FROM product p JOIN state s ON s.product = p.id WHERE p.shop = $1"
        " ORDER BY s.product, s.first_run DESC",
        {std::to_string(shop)});
    StateRule::ProductKeys known;
    known.reserve(size_t(rows.rows()));
    for (int row = 0; row < rows.rows(); ++row) {
        KnownState& k = known[rows.bytes(row, 0)];
        k.product = rows.integer(row, 1);
        k.state = rows.integer(row, 2);
        int column = 3;
        for (std::string* field : {&k.fields.picture, &k.fields.title, &k.fields.salePrice, &k.fields.marketPrice,
                                   &k.fields.sold, &k.fields.reviews})
            *field = rows.bytes(row, column++);
    }
    return known;
}

// Row ids for products the shop has not had, taken in one statement.
std::vector<std::int64_t> NewProductIds(Connection& connection, size_t count)
{
    const Result rows =
        connection.exec("SELECT nextval('product_id') FROM generate_series(1, $1)", {std::to_string(count)});
    std::vector<std::int64_t> ids;
    for (int row = 0; row < rows.rows(); ++row)
        ids.push_back(rows.integer(row, 0));
    return ids;
}

// Sorts each product of the run into the statements that record it: a new product row, a new state,
// an unchanged state extended to this run, or a later occurrence of an ID kept whole.
class StateRows {
public:
    StateRows(Connection& connection, std::int64_t shop, RecordedRun run, bool complete)
        : connection_(connection), shop_(shop), run_(run), complete_(complete), rule_(LatestStates(connection, shop))
    {
    }

    void add(const RunProducts& products)
    {
        std::unordered_set<std::string> fresh;
        for (const Product& product : products) {
            if (!rule_.knows(product.id))
                fresh.insert(product.id);
        }
        ids_ = NewProductIds(connection_, fresh.size());
        std::int32_t position = 0;
        for (const Product& product : products)
            add(product, ++position);
    }

    void write()
    {
        const std::string run = std::to_string(run_.number);
        if (!products_.empty())
            connection_.copyIn("COPY product(id, shop, item) FROM STDIN (FORMAT binary)", products_.finish());
        if (!extendedProducts_.empty())
            connection_.exec("UPDATE state s SET last_run = $1, first_complete = coalesce(s.first_complete, $2)"
                             " FROM unnest($3::bigint[], $4::bigint[]) AS e(product, first_run)"
                             " WHERE s.product = e.product AND s.first_run = e.first_run",
                             {run, complete_ ? Param(run) : std::nullopt, extendedProducts_ + "}",
                              extendedFirstRuns_ + "}"});
        if (!states_.empty())
            connection_.copyIn("COPY state(product, first_run, last_run, first_complete, picture, title, sale_price,"
                               " market_price, sold, reviews) FROM STDIN (FORMAT binary)",
                               states_.finish());
        if (!repeats_.empty())
            connection_.copyIn("COPY repeat_row(run, position, picture, title, sale_price, market_price, sold,"
                               " reviews) FROM STDIN (FORMAT binary)",
                               repeats_.finish());
        connection_.exec("INSERT INTO run_items(run, products, pages) VALUES($1, $2::bytea, $3::bytea)",
                         {std::to_string(run_.id), HexBytes(sequence_), HexBytes(store::EncodePages(pages_))});
    }

private:
    void add(const Product& product, std::int32_t position)
    {
        const StateDecision decision = rule_.decide(product, [&] {
            const std::int64_t row = ids_.back();
            ids_.pop_back();
            products_.row(3);
            products_.int8(row);
            products_.int8(shop_);
            products_.bytea(product.id);
            return row;
        });
        const KnownState& known = *decision.known;
        switch (decision.step) {
            case StateStep::Repeat:
                repeats_.row(8);
                repeats_.int8(run_.id);
                repeats_.int4(position);
                AddFields(repeats_, product);
                break;
            case StateStep::Extend: {
                const char* separator = extendedProducts_.empty() ? "{" : ",";
                extendedProducts_ += separator + std::to_string(known.product);
                extendedFirstRuns_ += separator + std::to_string(known.state);
                break;
            }
            case StateStep::NewState:
                states_.row(10);
                states_.int8(known.product);
                states_.int8(run_.number);
                states_.int8(run_.number);
                states_.int8(complete_ ? std::optional(run_.number) : std::nullopt);
                AddFields(states_, product);
                break;
        }
        store::AppendVarint(sequence_, static_cast<std::uint64_t>(known.product));
        pages_.push_back(product.page);
    }

    Connection& connection_;
    std::int64_t shop_;
    RecordedRun run_;
    bool complete_;
    StateRule rule_;
    std::vector<std::int64_t> ids_;
    BinaryRows products_, states_, repeats_;
    // The states extended to this run, by their key: bigint[] literals, closed when sent.
    std::string extendedProducts_, extendedFirstRuns_;
    std::string sequence_;
    std::vector<int> pages_;
};

}  // namespace

RecordedRun RecordRun(Connection& connection, const CollectionRun& run, const std::string& programVersion)
{
    const std::int64_t shop = ShopId(connection, run.shopHost);
    const RecordedRun recorded = InsertRun(connection, shop, run, programVersion);
    for (const LostPage& lost : run.lostPages)
        connection.exec("INSERT INTO lost_page(run, page, cause) VALUES($1, $2, $3::bytea)",
                        {std::to_string(recorded.id), std::to_string(lost.page), HexBytes(lost.cause)});
    StateRows rows(connection, shop, recorded, run.end == RunEnd::Complete);
    rows.add(run.products);
    rows.write();
    return recorded;
}

}  // namespace korvel::pg
