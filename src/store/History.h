#pragma once

// The shop history: every collection recorded when it ends, in one SQLite file, and what the store
// can tell about a shop from it. Every call is one short transaction; a History is used from one
// thread at a time, and several programs may use one file at once.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "collect/CollectionRun.h"
#include "store/Changes.h"
#include "store/StoreError.h"

namespace korvel {

namespace store {
class Database;
}

struct RunSummary {
    std::int64_t number = 0;  // the shop's runs counted from 1, in the order they ended
    std::string shopHost;
    ShopFamily family = ShopFamily::Taobao;
    std::chrono::system_clock::time_point started;
    std::chrono::system_clock::time_point ended;
    RunEnd end = RunEnd::Interrupted;
    int pageCount = 0;
    int pagesCollected = 0;
    std::vector<LostPage> lostPages;
    int productCount = 0;
    std::string failureCause;
    std::string version;  // the program that recorded it
};

// Why a shop's changes could not be computed yet.
enum class NothingToCompare {
    None,             // the two runs are there
    NoRun,            // no complete or incomplete run with products
    NoEarlierComplete // the latest such run has no complete run before it
};

struct ChangeReport {
    NothingToCompare nothing = NothingToCompare::None;
    RunSummary before;  // when nothing is None
    RunSummary after;   // also for NoEarlierComplete
    std::vector<Change> changes;
};

// One run that showed the product, with its first occurrence's fields.
struct SeriesPoint {
    std::int64_t run = 0;
    std::chrono::system_clock::time_point started;
    RunEnd end = RunEnd::Interrupted;
    std::string salePrice;  // GBK, as extracted
    std::string sold;
};

class History {
public:
    // Opens the store at a UTF-8 path, creating the file and its folders when missing.
    static StoreResult<std::unique_ptr<History>> Open(const std::string& path);
    ~History();

    // The run and its products in one transaction: there whole or not at all.
    StoreResult<Done> record(const CollectionRun& run, const std::string& programVersion);
    // The hosts with at least one run, in byte order.
    StoreResult<std::vector<std::string>> shops();
    // Oldest first.
    StoreResult<std::vector<RunSummary>> runs(const std::string& host);
    StoreResult<ChangeReport> changes(const std::string& host);
    // Oldest first: the runs that showed the product.
    StoreResult<std::vector<SeriesPoint>> series(const std::string& host, const std::string& id);
    // A run's products as recorded, in their order.
    StoreResult<std::vector<Product>> products(const std::string& host, std::int64_t number);

private:
    explicit History(std::unique_ptr<store::Database> db);
    std::unique_ptr<store::Database> db_;
};

}  // namespace korvel
