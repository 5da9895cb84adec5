#pragma once

// The fixture and sample runs of the PostgreSQL store's tests, against the throwaway server of
// scripts/test (KORVEL_TEST_PG_URI).

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <tuple>

#include "pgstore/Pg.h"
#include "pgstore/PgStore.h"
#include "support/TestEnvironment.h"

namespace korvel::pg {

constexpr const char* Tables[] = {"shop", "run", "lost_page", "run_items", "product", "state", "repeat_row",
                                   "batch", "batch_shop", "followed_shop"};

// A database of its own per test in the throwaway server, dropped afterwards.
class PgStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* admin = std::getenv("KORVEL_TEST_PG_URI");
        if (admin == nullptr || *admin == '\0') {
            if (test::ServersRequired())
                FAIL() << "KORVEL_TEST_PG_URI is not set";
            GTEST_SKIP() << "no PostgreSQL: KORVEL_TEST_PG_URI is not set (scripts/test starts one)";
        }
        admin_ = admin;
        static std::atomic<int> counter{0};
        database_ = "korvel_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        Connection(admin_, 10).exec(("CREATE DATABASE " + database_).c_str());
        uri_ = admin_.substr(0, admin_.rfind('/') + 1) + database_;
    }
    void TearDown() override
    {
        if (!database_.empty())
            Connection(admin_, 10).exec(("DROP DATABASE IF EXISTS " + database_ + " WITH (FORCE)").c_str());
    }

    std::unique_ptr<Store> open()
    {
        auto store = PgStore::Open(uri_, "9.9");
        EXPECT_TRUE(store.ok()) << (store.ok() ? "" : store.error().cause);
        return store.ok() ? std::move(store.value()) : nullptr;
    }
    long long count(const char* table)
    {
        return Connection(uri_, 10).exec((std::string("SELECT count(*) FROM ") + table).c_str()).integer(0, 0);
    }
    long long rows()
    {
        long long total = 0;
        for (const char* table : Tables)
            total += count(table);
        return total;
    }

    std::string admin_, database_, uri_;
};

inline CollectionRun SampleRun(const std::string& host, RunEnd end, int products)
{
    CollectionRun run;
    run.shopHost = host;
    run.family = ShopFamily::Tmall;
    run.started = std::chrono::system_clock::time_point(std::chrono::milliseconds(1'765'000'000'123));
    run.ended = run.started + std::chrono::seconds(42);
    run.end = end;
    run.pageCount = 3;
    run.pagesCollected = end == RunEnd::Complete ? 3 : 2;
    if (end == RunEnd::Incomplete)
        run.lostPages.push_back({2, "\xB3\xAC\xCA\xB1"});
    if (end == RunEnd::Failed)
        run.failureCause = "HTTP 403";
    std::vector<Product> items;
    for (int i = 1; i <= products; ++i) {
        // GBK bytes, COPY's own specials and empty fields survive byte for byte.
        items.push_back({std::to_string(1000 + i), "//img/" + std::to_string(i) + ".jpg",
                         "\xB5\xEA\t\\N\n\\x" + std::string(1, '\0') + "&amp;", " 9.90 ", "", "5", "0", 1 + i / 10, i});
    }
    run.products = RunProducts(std::move(items));
    return run;
}

inline void ExpectSameRun(const CollectionRun& got, const CollectionRun& want)
{
    EXPECT_EQ(got.shopHost, want.shopHost);
    EXPECT_EQ(got.family, want.family);
    EXPECT_EQ(got.started, want.started);
    EXPECT_EQ(got.ended, want.ended);
    EXPECT_EQ(got.end, want.end);
    EXPECT_EQ(got.pageCount, want.pageCount);
    EXPECT_EQ(got.pagesCollected, want.pagesCollected);
    EXPECT_EQ(got.failureCause, want.failureCause);
    ASSERT_EQ(got.lostPages.size(), want.lostPages.size());
    for (size_t i = 0; i < got.lostPages.size(); ++i)
        EXPECT_EQ(got.lostPages[i].cause, want.lostPages[i].cause);
    ASSERT_EQ(got.products.size(), want.products.size());
    for (size_t i = 0; i < got.products.size(); ++i) {
        const Product& a = got.products[i];
        const Product& b = want.products[i];
        EXPECT_EQ(std::tie(a.id, a.picture, a.title, a.salePrice, a.marketPrice, a.sold, a.reviews, a.page, a.position),
                  std::tie(b.id, b.picture, b.title, b.salePrice, b.marketPrice, b.sold, b.reviews, b.page, b.position));
    }
}

}  // namespace korvel::pg
