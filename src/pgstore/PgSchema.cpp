#include "pgstore/PgSchema.h"

#include <array>
#include <string>

namespace korvel::pg {
namespace {

// "Korvel" and 1: the one advisory lock the schema's changes take.
constexpr char SchemaLock[] = "5435689128092762113";

// Migration i takes a store from version i to i + 1; a release only ever appends to this list.
// The history's tables follow the SQLite store's: a product's state is kept as an interval of the
// shop's run numbers, so a product unchanged since the last run only moves its interval's end, and
// a run itself is its sequence of product rows in one value.
constexpr std::array<const char*, SchemaVersion> Migrations = {
    R"(CREATE TABLE shop(id bigserial PRIMARY KEY, host bytea NOT NULL UNIQUE);
CREATE TABLE run(id bigserial PRIMARY KEY, shop bigint NOT NULL REFERENCES shop, number bigint NOT NULL,
    family smallint NOT NULL, started_ms bigint NOT NULL, ended_ms bigint NOT NULL, outcome smallint NOT NULL,
    page_count integer NOT NULL, pages_collected integer NOT NULL, product_count integer NOT NULL,
    failure_cause bytea NOT NULL, version text NOT NULL, UNIQUE(shop, number));
CREATE TABLE lost_page(run bigint NOT NULL REFERENCES run, page integer NOT NULL, cause bytea NOT NULL);
CREATE INDEX lost_page_by_run ON lost_page(run);
CREATE TABLE run_items(run bigint PRIMARY KEY REFERENCES run, products bytea NOT NULL, pages bytea NOT NULL);
CREATE TABLE product(id bigint PRIMARY KEY, shop bigint NOT NULL REFERENCES shop, item bytea NOT NULL,
    UNIQUE(shop, item));
CREATE SEQUENCE product_id CACHE 1024;
CREATE TABLE state(product bigint NOT NULL REFERENCES product, first_run bigint NOT NULL,
    last_run bigint NOT NULL, first_complete bigint,
    picture bytea NOT NULL, title bytea NOT NULL, sale_price bytea NOT NULL, market_price bytea NOT NULL,
    sold bytea NOT NULL, reviews bytea NOT NULL, PRIMARY KEY(product, first_run));
CREATE TABLE repeat_row(run bigint NOT NULL REFERENCES run, position integer NOT NULL,
    picture bytea NOT NULL, title bytea NOT NULL, sale_price bytea NOT NULL, market_price bytea NOT NULL,
    sold bytea NOT NULL, reviews bytea NOT NULL, PRIMARY KEY(run, position));
CREATE TABLE batch(id text PRIMARY KEY, created timestamptz NOT NULL DEFAULT now());
CREATE TABLE batch_shop(batch text NOT NULL REFERENCES batch, host text NOT NULL, stage smallint NOT NULL,
    outcome smallint, run bigint REFERENCES run, PRIMARY KEY(batch, host));)",
    R"(CREATE TABLE followed_shop(id bigserial PRIMARY KEY, host text NOT NULL UNIQUE);)",
};

}  // namespace

void PrepareSchema(Connection& connection)
{
    Transaction transaction(connection);
    connection.exec("SELECT pg_advisory_xact_lock($1::bigint)", {std::string(SchemaLock)});
    connection.exec("CREATE TABLE IF NOT EXISTS korvel_schema(version integer NOT NULL)");
    const Result found = connection.exec("SELECT version FROM korvel_schema");
    const long long version = found.rows() == 0 ? 0 : found.integer(0, 0);
    if (version > SchemaVersion)
        throw PgFailure{"the store was written by a later Korvel (schema " + std::to_string(version) +
                        "); it is left as it is"};
    if (version == SchemaVersion) {
        transaction.commit();
        return;
    }
    for (auto step = version; step < SchemaVersion; ++step)
        connection.execScript(Migrations[static_cast<size_t>(step)]);
    connection.exec("DELETE FROM korvel_schema");
    connection.exec("INSERT INTO korvel_schema(version) VALUES($1::integer)", {std::to_string(SchemaVersion)});
    transaction.commit();
}

}  // namespace korvel::pg
