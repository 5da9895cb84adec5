#pragma once

// The history in a PostgreSQL database that the shards of an array job share, through one
// connection. Every batch write is idempotent: a shard run again requests nothing for the shops it
// finished and adds no row; a killed shard's retry leaves exactly the rows of an uninterrupted run.

#include <memory>
#include <string>

#include "store/Store.h"

namespace korvel::pg {

class Connection;

class PgStore : public Store {
public:
    // Connects (waiting at most 10 s) and creates or migrates the schema; the error says why the
    // store cannot be reached or used, never with the password.
    static StoreResult<std::unique_ptr<Store>> Open(const std::string& uri, std::string programVersion);
    ~PgStore() override;

    StoreResult<std::int64_t> record(const CollectionRun& run) override;
    StoreResult<std::vector<std::string>> shops() override;
    StoreResult<std::vector<RunSummary>> runs(const std::string& host) override;
    StoreResult<ChangeReport> changes(const std::string& host) override;
    StoreResult<std::vector<SeriesPoint>> series(const std::string& host, const std::string& id) override;
    StoreResult<CollectionRun> run(const std::string& host, std::int64_t number) override;

    StoreResult<std::vector<batch::ShopState>> beginBatch(const std::string& batch,
                                                          const std::vector<std::string>& hosts,
                                                          batch::BatchStart start) override;
    StoreResult<std::int64_t> recordInBatch(const std::string& batch, const CollectionRun& run,
                                            batch::ShopOutcome outcome) override;
    StoreResult<Done> markDelivered(const std::string& batch, const std::string& host) override;

    void interrupt() override;

    StoreResult<std::vector<std::string>> followedShops() override;
    StoreResult<Done> follow(const std::vector<std::string>& hosts) override;
    StoreResult<Done> unfollow(const std::string& host) override;
    StoreResult<std::int64_t> pendingFollowed(const std::string& batch) override;

private:
    PgStore(std::unique_ptr<Connection> connection, std::string programVersion);
    template <typename Reading>
    auto snapshot(Reading reading) -> StoreResult<decltype(reading())>;

    std::unique_ptr<Connection> connection_;
    std::string version_;
};

}  // namespace korvel::pg
