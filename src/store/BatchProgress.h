#pragma once

// A batch's progress in the SQLite history store: each shop's stage beside the runs, its run and
// its "recorded" mark written in one transaction.

#include <memory>
#include <string>

#include "batch/BatchLedger.h"
#include "store/StoreError.h"

namespace korvel {

namespace store {
class Database;
}

class BatchProgress : public batch::BatchLedger {
public:
    static StoreResult<std::unique_ptr<BatchProgress>> Open(const std::string& path, std::string programVersion);
    ~BatchProgress() override;

    std::optional<std::vector<batch::ShopState>> begin(const std::string& batch, const std::vector<std::string>& hosts,
                                                       batch::BatchStart start) override;
    std::optional<std::int64_t> record(const std::string& batch, const CollectionRun& run,
                                       batch::ShopOutcome outcome) override;
    bool markDelivered(const std::string& batch, const std::string& host) override;
    std::optional<CollectionRun> loadRun(const std::string& host, std::int64_t run) override;
    // UTF-8.
    std::string lastError() const override { return error_; }

private:
    BatchProgress(std::unique_ptr<store::Database> db, std::string programVersion);
    template <typename Work>
    auto guarded(Work work) -> decltype(work());

    std::unique_ptr<store::Database> db_;
    std::string version_;
    std::string error_;
};

}  // namespace korvel
