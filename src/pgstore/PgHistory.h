#pragma once

// The history the shards of an array job recorded into PostgreSQL, read for the console's reports
// exactly as the SQLite store is read.

#include <memory>
#include <string>

#include "store/HistoryReading.h"

namespace korvel::pg {

class Connection;

class PgHistory : public HistoryReading {
public:
    // Connects (waiting at most 10 s) and creates or migrates the schema; nothing, with `error`
    // saying why, when the store cannot be reached or used. The error never holds the password.
    static std::unique_ptr<PgHistory> Open(const std::string& uri, std::string& error);
    ~PgHistory() override;

    StoreResult<std::vector<RunSummary>> runs(const std::string& host) override;
    StoreResult<ChangeReport> changes(const std::string& host) override;

private:
    explicit PgHistory(std::unique_ptr<Connection> connection);
    template <typename Reading>
    auto snapshot(Reading reading) -> StoreResult<decltype(reading())>;

    std::unique_ptr<Connection> connection_;
};

}  // namespace korvel::pg
