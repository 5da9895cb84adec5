#pragma once

// The history the shards of an array job recorded into PostgreSQL, read for the console's reports
// exactly as the SQLite store is read; a single shop's collection is recorded into it as well.

#include <memory>
#include <string>

#include "store/HistoryReading.h"

namespace korvel::pg {

class Connection;

class PgHistory : public HistoryReading {
public:
    // Connects (waiting at most 10 s) and creates or migrates the schema; the error says why the
    // store cannot be reached or used, never with the password.
    static StoreResult<std::unique_ptr<PgHistory>> Open(const std::string& uri);
    ~PgHistory() override;

    // The run and its products in one transaction: there whole or not at all.
    StoreResult<Done> record(const CollectionRun& run, const std::string& programVersion);
    StoreResult<std::vector<RunSummary>> runs(const std::string& host) override;
    StoreResult<ChangeReport> changes(const std::string& host) override;

private:
    explicit PgHistory(std::unique_ptr<Connection> connection);
    template <typename Reading>
    auto snapshot(Reading reading) -> StoreResult<decltype(reading())>;

    std::unique_ptr<Connection> connection_;
};

}  // namespace korvel::pg
