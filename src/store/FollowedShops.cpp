#include "store/FollowedShops.h"

#include "store/OpenStore.h"
#include "store/StoreFailureText.h"

namespace korvel {

using store::Guarded;

StoreResult<std::unique_ptr<FollowedShops>> FollowedShops::Open(const std::string& path)
{
    auto db = store::OpenStore(path);
    if (!db.ok())
        return db.error();
    return std::unique_ptr<FollowedShops>(new FollowedShops(std::move(db.value())));
}

FollowedShops::FollowedShops(std::unique_ptr<store::Database> db) : db_(std::move(db)) {}

FollowedShops::~FollowedShops() = default;

StoreResult<std::vector<std::string>> FollowedShops::hosts()
{
    return Guarded([this] {
        store::Statement select = db_->prepare("SELECT host FROM followed_shop ORDER BY id");
        std::vector<std::string> hosts;
        while (select.step())
            hosts.push_back(select.bytes(0));
        return hosts;
    });
}

StoreResult<Done> FollowedShops::add(const std::vector<std::string>& hosts)
{
    return Guarded([&] {
        store::WriteTransaction transaction(*db_);
        store::Statement insert = db_->prepare("INSERT OR IGNORE INTO followed_shop(host) VALUES(?)");
        for (const std::string& host : hosts)
            insert.bindText(1, host).run();
        transaction.commit();
        return Done{};
    });
}

StoreResult<Done> FollowedShops::remove(const std::string& host)
{
    return Guarded([&] {
        db_->prepare("DELETE FROM followed_shop WHERE host = ?").bindText(1, host).run();
        return Done{};
    });
}

StoreResult<std::int64_t> FollowedShops::pending(const std::string& batch)
{
    return Guarded([&] {
        store::Statement count = db_->prepare("SELECT count(*) FROM batch_shop b JOIN followed_shop f ON f.host = b.host"
                                                       " WHERE b.batch = ? AND b.stage = 0");
        count.bindText(1, batch).step();
        return count.integer(0);
    });
}

}  // namespace korvel
