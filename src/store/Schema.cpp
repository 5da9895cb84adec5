#include "store/Schema.h"

#include <array>
#include <string>

namespace korvel::store {
namespace {

// Migration i takes a store from version i to i + 1; a release only ever appends to this list.
constexpr std::array<const char*, SchemaVersion> Migrations = {
    R"(CREATE TABLE shop(id INTEGER PRIMARY KEY, host BLOB NOT NULL UNIQUE);
CREATE TABLE run(id INTEGER PRIMARY KEY, shop INTEGER NOT NULL REFERENCES shop, number INTEGER NOT NULL,
    family INTEGER NOT NULL, started_ms INTEGER NOT NULL, ended_ms INTEGER NOT NULL, outcome INTEGER NOT NULL,
    page_count INTEGER NOT NULL, pages_collected INTEGER NOT NULL, product_count INTEGER NOT NULL,
    failure_cause BLOB NOT NULL, version TEXT NOT NULL, UNIQUE(shop, number));
CREATE TABLE lost_page(run INTEGER NOT NULL REFERENCES run, page INTEGER NOT NULL, cause BLOB NOT NULL);
CREATE INDEX lost_page_by_run ON lost_page(run);
CREATE TABLE run_items(run INTEGER PRIMARY KEY REFERENCES run, products BLOB NOT NULL, pages BLOB NOT NULL);
CREATE TABLE product(id INTEGER PRIMARY KEY, shop INTEGER NOT NULL REFERENCES shop, item BLOB NOT NULL,
    UNIQUE(shop, item));
CREATE TABLE state(id INTEGER PRIMARY KEY, product INTEGER NOT NULL REFERENCES product,
    first_run INTEGER NOT NULL, last_run INTEGER NOT NULL, first_complete INTEGER,
    picture BLOB NOT NULL, title BLOB NOT NULL, sale_price BLOB NOT NULL, market_price BLOB NOT NULL,
    sold BLOB NOT NULL, reviews BLOB NOT NULL);
CREATE INDEX state_by_product ON state(product, first_run);
CREATE TABLE repeat_row(run INTEGER NOT NULL REFERENCES run, position INTEGER NOT NULL,
    picture BLOB NOT NULL, title BLOB NOT NULL, sale_price BLOB NOT NULL, market_price BLOB NOT NULL,
    sold BLOB NOT NULL, reviews BLOB NOT NULL, PRIMARY KEY(run, position)) WITHOUT ROWID;)",
    // A batch's shops: stage 0 pending, 1 recorded (run set), 2 delivered to its files.
    R"(CREATE TABLE batch_shop(batch TEXT NOT NULL, host TEXT NOT NULL, stage INTEGER NOT NULL,
    outcome INTEGER, run INTEGER REFERENCES run, PRIMARY KEY(batch, host)) WITHOUT ROWID;)",
    // The shops the window follows, in the order they were added.
    R"(CREATE TABLE followed_shop(id INTEGER PRIMARY KEY, host TEXT NOT NULL UNIQUE);)",
};

bool IsEmpty(Database& db)
{
    return db.integer("SELECT count(*) FROM sqlite_schema") == 0;
}

// Reading the schema is the first read of the file: a file that is no database fails here.
void Refuse(Database& db)
{
    const bool empty = IsEmpty(db);
    const auto application = db.integer("PRAGMA application_id");
    const auto version = db.integer("PRAGMA user_version");
    if (empty && application == 0 && version == 0)
        return;
    if (application != ApplicationId)
        throw StoreRefused{false, int(version)};
    if (version > SchemaVersion)
        throw StoreRefused{true, int(version)};
}

void Migrate(Database& db)
{
    WriteTransaction transaction(db);
    // Another program may have migrated the file since it was checked.
    Refuse(db);
    const auto version = db.integer("PRAGMA user_version");
    if (version == 0)
        db.execute(("PRAGMA application_id = " + std::to_string(ApplicationId)).c_str());
    for (auto step = version; step < SchemaVersion; ++step)
        db.execute(Migrations[size_t(step)]);
    db.execute(("PRAGMA user_version = " + std::to_string(SchemaVersion)).c_str());
    transaction.commit();
}

}  // namespace

void PrepareStore(Database& db)
{
    Refuse(db);
    Statement wal = db.prepare("PRAGMA journal_mode = WAL");
    wal.run();
    // In WAL a commit is whole after a crash of the process; NORMAL only risks the last commits
    // of a power loss, never the file's consistency.
    db.execute("PRAGMA synchronous = NORMAL");
    // A large shop's states and runs are read whole: keep them in memory rather than re-read
    // through the 2 MB default cache.
    db.execute("PRAGMA cache_size = -65536");
    db.execute("PRAGMA mmap_size = 268435456");
    if (db.integer("PRAGMA user_version") < SchemaVersion)
        Migrate(db);
}

}  // namespace korvel::store
