#pragma once

// The history in one SQLite file of this machine, through one connection.

#include <memory>
#include <string>

#include "store/Store.h"

namespace korvel::store {

class Database;

class SqliteStore : public Store {
public:
    static StoreResult<std::unique_ptr<Store>> Open(const std::string& path, std::string programVersion,
                                                    const Cancellation* stop = nullptr);
    ~SqliteStore() override;

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
    SqliteStore(std::unique_ptr<Database> db, std::string programVersion);
    // The run's number, from its row, inside the caller's transaction.
    std::int64_t numberOf(std::int64_t row);

    std::unique_ptr<Database> db_;
    std::string version_;
};

}  // namespace korvel::store
