#pragma once

// The shops the window follows and collects together as one batch, kept in the store in the
// order they were added. Hosts are lower-case shop hosts (batch/ShopList.h), UTF-8 = ASCII.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/StoreError.h"

namespace korvel {

namespace store {
class Database;
}

class FollowedShops {
public:
    static StoreResult<std::unique_ptr<FollowedShops>> Open(const std::string& path);
    ~FollowedShops();

    StoreResult<std::vector<std::string>> hosts();
    // Hosts followed already stay where they are.
    StoreResult<Done> add(const std::vector<std::string>& hosts);
    StoreResult<Done> remove(const std::string& host);
    // The followed shops `batch` has still to collect.
    StoreResult<std::int64_t> pending(const std::string& batch);

private:
    explicit FollowedShops(std::unique_ptr<store::Database> db);

    std::unique_ptr<store::Database> db_;
};

}  // namespace korvel
