#pragma once

// The batch's store for the tests of its course: a real SQLite file in a folder of the test's own,
// seen through a window that remembers what was recorded and can make every call fail, as a store
// whose disk went away does.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "store/Store.h"

namespace korvel::batch {

class LedgerStore : public Store {
public:
    explicit LedgerStore(const std::string& path)
    {
        auto opened = OpenStore(path, "1.0");
        EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error().cause);
        if (opened.ok())
            real_ = std::move(opened.value());
    }

    // The runs recorded through this store, read back, oldest first.
    std::vector<CollectionRun> runs()
    {
        std::vector<CollectionRun> read;
        for (const auto& [host, number] : recorded_) {
            auto run = real_->run(host, number);
            EXPECT_TRUE(run.ok());
            if (run.ok())
                read.push_back(run.value());
        }
        return read;
    }
    // How the store keeps `host` in `batch`.
    ShopState shop(const std::string& host, const std::string& batch = "day")
    {
        auto states = real_->beginBatch(batch, {host}, BatchStart::Continue);
        EXPECT_TRUE(states.ok());
        return states.ok() ? states.value().at(0) : ShopState{};
    }

    bool failing = false;

    StoreResult<std::int64_t> record(const CollectionRun& run) override
    {
        return remember(run, real_->record(run));
    }
    StoreResult<std::vector<std::string>> shops() override { return real_->shops(); }
    StoreResult<std::vector<RunSummary>> runs(const std::string& host) override { return real_->runs(host); }
    StoreResult<ChangeReport> changes(const std::string& host) override { return real_->changes(host); }
    StoreResult<std::vector<SeriesPoint>> series(const std::string& host, const std::string& id) override
    {
        return real_->series(host, id);
    }
    StoreResult<CollectionRun> run(const std::string& host, std::int64_t number) override
    {
        return real_->run(host, number);
    }
    StoreResult<std::vector<ShopState>> beginBatch(const std::string& batch,
                                                   const std::vector<std::string>& hosts,
                                                   BatchStart start) override
    {
        if (failing)
            return Gone();
        return real_->beginBatch(batch, hosts, start);
    }
    StoreResult<std::int64_t> recordInBatch(const std::string& batch, const CollectionRun& run,
                                            ShopOutcome outcome) override
    {
        if (failing)
            return Gone();
        return remember(run, real_->recordInBatch(batch, run, outcome));
    }
    StoreResult<Done> markDelivered(const std::string& batch, const std::string& host) override
    {
        if (failing)
            return Gone();
        return real_->markDelivered(batch, host);
    }
    void interrupt() override { real_->interrupt(); }
    StoreResult<std::vector<std::string>> followedShops() override { return real_->followedShops(); }
    StoreResult<Done> follow(const std::vector<std::string>& hosts) override { return real_->follow(hosts); }
    StoreResult<Done> unfollow(const std::string& host) override { return real_->unfollow(host); }
    StoreResult<std::int64_t> pendingFollowed(const std::string& batch) override
    {
        return real_->pendingFollowed(batch);
    }

private:
    static StoreError Gone() { return {StoreFailure::InputOutput, "disk I/O error"}; }

    StoreResult<std::int64_t> remember(const CollectionRun& run, StoreResult<std::int64_t> number)
    {
        if (number.ok() && std::find(recorded_.begin(), recorded_.end(),
                                     std::pair(run.shopHost, number.value())) == recorded_.end())
            recorded_.emplace_back(run.shopHost, number.value());
        return number;
    }

    std::unique_ptr<Store> real_;
    std::vector<std::pair<std::string, std::int64_t>> recorded_;
};

}  // namespace korvel::batch
