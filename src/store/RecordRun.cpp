#include "collect/ShopAddress.h"
#include "store/RunSequence.h"
#include "store/StateRule.h"
#include "store/StoreQueries.h"

namespace korvel::store {
namespace {

using Clock = std::chrono::system_clock;

std::int64_t Milliseconds(Clock::time_point at)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
}

// Binds the six fields from parameter `first` on.
void BindFields(Statement& statement, int first, const Product& product)
{
    int index = first;
    for (const std::string* field : {&product.picture, &product.title, &product.salePrice, &product.marketPrice,
                                     &product.sold, &product.reviews})
        statement.bind(index++, std::string_view(*field));
}

std::int64_t StoreShop(Database& db, const std::string& host)
{
    db.prepare("INSERT OR IGNORE INTO shop(host) VALUES(?)").bind(1, ShopKey(host)).run();
    return *ShopId(db, host);
}

std::int64_t InsertRun(Database& db, std::int64_t shop, const CollectionRun& run, const std::string& version)
{
    Statement next = db.prepare("SELECT coalesce(max(number), 0) + 1 FROM run WHERE shop = ?");
    next.bind(1, shop).step();
    const std::int64_t number = next.integer(0);
    Statement insert = db.prepare(
        "INSERT INTO run(shop, number, family, started_ms, ended_ms, outcome, page_count, pages_collected,"
        " product_count, failure_cause, version) VALUES(?,?,?,?,?,?,?,?,?,?,?)");
    insert.bind(1, shop).bind(2, number).bind(3, run.family == ShopFamily::Tmall ? 1 : 0);
    insert.bind(4, Milliseconds(run.started)).bind(5, Milliseconds(run.ended)).bind(6, OutcomeCode(run.end));
    insert.bind(7, run.pageCount).bind(8, run.pagesCollected).bind(9, std::int64_t(run.products.size()));
    insert.bind(10, std::string_view(run.failureCause)).bindText(11, version);
    insert.run();
    return db.lastInsertId();
}

void InsertLostPages(Database& db, std::int64_t runId, const std::vector<LostPage>& pages)
{
    Statement insert = db.prepare("INSERT INTO lost_page(run, page, cause) VALUES(?,?,?)");
    for (const LostPage& page : pages)
        insert.bind(1, runId).bind(2, page.page).bind(3, std::string_view(page.cause)).run();
}

StateRule::ProductKeys LatestStates(Database& db, std::int64_t shop)
{
    Statement select = db.prepare(
        "SELECT p.item, p.id, s.id, s.picture, s.title, s.sale_price, s.market_price, s.sold, s.reviews"
        " FROM product p JOIN state s ON s.id = (SELECT id FROM state WHERE product = p.id"
        " ORDER BY first_run DESC LIMIT 1) WHERE p.shop = ?");
    select.bind(1, shop);
    StateRule::ProductKeys known;
    while (select.step()) {
        KnownState row{select.integer(1), select.integer(2), {}};
        row.fields.picture = select.bytes(3);
        row.fields.title = select.bytes(4);
        row.fields.salePrice = select.bytes(5);
        row.fields.marketPrice = select.bytes(6);
        row.fields.sold = select.bytes(7);
        row.fields.reviews = select.bytes(8);
        known.emplace(select.bytes(0), std::move(row));
    }
    return known;
}

// Writes each product's state for one run, as the shared rule decides.
class StateWriter {
public:
    StateWriter(Database& db, std::int64_t shop, std::int64_t run, bool complete)
        : db_(db), shop_(shop), run_(run), complete_(complete), rule_(LatestStates(db, shop)),
          newProduct_(db.prepare("INSERT INTO product(shop, item) VALUES(?,?)")),
          newState_(db.prepare("INSERT INTO state(product, first_run, last_run, first_complete, picture, title,"
                               " sale_price, market_price, sold, reviews) VALUES(?,?,?,?,?,?,?,?,?,?)")),
          extend_(db.prepare("UPDATE state SET last_run = ?, first_complete = coalesce(first_complete, ?)"
                             " WHERE id = ?")),
          repeat_(db.prepare("INSERT INTO repeat_row(run, position, picture, title, sale_price, market_price,"
                             " sold, reviews) VALUES(?,?,?,?,?,?,?,?)"))
    {
    }

    // The product's row id.
    std::int64_t write(const Product& product, std::int64_t position)
    {
        const StateDecision decision = rule_.decide(product, [&] {
            newProduct_.bind(1, shop_).bind(2, std::string_view(product.id)).run();
            return db_.lastInsertId();
        });
        switch (decision.step) {
            case StateStep::Repeat:
                repeat_.bind(1, run_).bind(2, position);
                BindFields(repeat_, 3, product);
                repeat_.run();
                break;
            case StateStep::Extend:
                extend_.bind(1, run_);
                complete_ ? extend_.bind(2, run_) : extend_.bindNull(2);
                extend_.bind(3, decision.known->state).run();
                break;
            case StateStep::NewState:
                newState_.bind(1, decision.known->product).bind(2, run_).bind(3, run_);
                complete_ ? newState_.bind(4, run_) : newState_.bindNull(4);
                BindFields(newState_, 5, product);
                newState_.run();
                break;
        }
        return decision.known->product;
    }

private:
    Database& db_;
    std::int64_t shop_;
    std::int64_t run_;
    bool complete_;
    StateRule rule_;
    Statement newProduct_;
    Statement newState_;
    Statement extend_;
    Statement repeat_;
};

void RecordProducts(Database& db, std::int64_t shop, std::int64_t runId, const CollectionRun& run)
{
    StateWriter writer(db, shop, runId, run.end == RunEnd::Complete);
    std::string sequence;
    std::vector<int> pages;
    std::int64_t position = 0;
    for (const Product& product : run.products) {
        AppendVarint(sequence, static_cast<std::uint64_t>(writer.write(product, ++position)));
        pages.push_back(product.page);
    }
    Statement insert = db.prepare("INSERT INTO run_items(run, products, pages) VALUES(?,?,?)");
    insert.bind(1, runId).bind(2, sequence).bind(3, EncodePages(pages)).run();
}

}  // namespace

std::int64_t RecordRunRows(Database& db, const CollectionRun& run, const std::string& programVersion)
{
    const std::int64_t shop = StoreShop(db, run.shopHost);
    const std::int64_t runId = InsertRun(db, shop, run, programVersion);
    InsertLostPages(db, runId, run.lostPages);
    RecordProducts(db, shop, runId, run);
    return runId;
}

}  // namespace korvel::store
