#pragma once

// The shop history: every collection recorded when it ends, in one SQLite file, and what the store
// can tell about a shop from it. Every call is one short transaction; a History is used from one
// thread at a time, and several programs may use one file at once.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/HistoryReading.h"

namespace korvel {

namespace store {
class Database;
}

// One run that showed the product, with its first occurrence's fields.
struct SeriesPoint {
    std::int64_t run = 0;
    std::chrono::system_clock::time_point started;
    RunEnd end = RunEnd::Interrupted;
    std::string salePrice;  // GBK, as extracted
    std::string sold;
};

class History : public HistoryReading {
public:
    // Opens the store at a UTF-8 path, creating the file and its folders when missing.
    static StoreResult<std::unique_ptr<History>> Open(const std::string& path);
    ~History() override;

    // The run and its products in one transaction: there whole or not at all.
    StoreResult<Done> record(const CollectionRun& run, const std::string& programVersion);
    // The hosts with at least one run, in byte order.
    StoreResult<std::vector<std::string>> shops();
    // Oldest first.
    StoreResult<std::vector<RunSummary>> runs(const std::string& host) override;
    StoreResult<ChangeReport> changes(const std::string& host) override;
    // Oldest first: the runs that showed the product.
    StoreResult<std::vector<SeriesPoint>> series(const std::string& host, const std::string& id);
    // A run's products as recorded, in their order.
    StoreResult<std::vector<Product>> products(const std::string& host, std::int64_t number);

private:
    explicit History(std::unique_ptr<store::Database> db);
    std::unique_ptr<store::Database> db_;
};

}  // namespace korvel
