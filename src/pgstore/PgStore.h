#pragma once

// The batch's progress and the shops' runs in a PostgreSQL store shared by the shards of an array
// job. Every write is idempotent: a shard run again requests nothing for the shops it finished and
// adds no row; a killed shard's retry leaves exactly the rows of an uninterrupted run.

#include <memory>
#include <string>
#include <string_view>

#include "batch/BatchLedger.h"

namespace korvel::pg {

class Connection;

// postgresql:// or postgres://: a store given as a URI rather than a file.
bool IsPostgresUri(std::string_view store);

class PgStore : public batch::BatchLedger {
public:
    // Connects (waiting at most 10 s) and creates or migrates the schema; nothing, with `error`
    // saying why, when the store cannot be reached or used. The error never holds the password.
    static std::unique_ptr<PgStore> Open(const std::string& uri, const std::string& programVersion,
                                         std::string& error);
    ~PgStore() override;

    std::optional<std::vector<batch::ShopState>> begin(const std::string& batch, const std::vector<std::string>& hosts,
                                                       batch::BatchStart start) override;
    std::optional<std::int64_t> record(const std::string& batch, const CollectionRun& run,
                                       batch::ShopOutcome outcome) override;
    bool markDelivered(const std::string& batch, const std::string& host) override;
    std::optional<CollectionRun> loadRun(const std::string& host, std::int64_t run) override;
    std::string lastError() const override { return error_; }

private:
    PgStore(std::unique_ptr<Connection> connection, std::string programVersion);
    template <typename Work>
    auto guarded(Work work) -> decltype(work());

    std::unique_ptr<Connection> connection_;
    std::string version_;
    std::string error_;
};

}  // namespace korvel::pg
