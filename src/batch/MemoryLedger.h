#pragma once

// A batch that records nothing (--no-store): its shops' progress lives in this process only, so
// nothing is kept and a second run of the command starts over. A run is held from its recording
// until its files are written, as the shared slices it already is.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "store/Store.h"

namespace korvel::batch {

class MemoryLedger : public BatchLedger {
public:
    StoreResult<std::vector<ShopState>> beginBatch(const std::string& batch,
                                                   const std::vector<std::string>& hosts,
                                                   BatchStart start) override;
    StoreResult<std::int64_t> recordInBatch(const std::string& batch, const CollectionRun& run,
                                            ShopOutcome outcome) override;
    StoreResult<Done> markDelivered(const std::string& batch, const std::string& host) override;
    StoreResult<CollectionRun> run(const std::string& host, std::int64_t number) override;

private:
    std::map<std::string, ShopState> shops_;
    std::map<std::pair<std::string, std::int64_t>, CollectionRun> undelivered_;
};

}  // namespace korvel::batch
