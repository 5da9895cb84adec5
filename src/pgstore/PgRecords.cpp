#include "pgstore/PgRecords.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string_view>

namespace korvel::pg {
namespace {

using Clock = std::chrono::system_clock;

constexpr RunEnd Ends[] = {RunEnd::Complete, RunEnd::Incomplete, RunEnd::Failed, RunEnd::Interrupted};

std::string Milliseconds(Clock::time_point at)
{
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count());
}

Clock::time_point At(long long milliseconds)
{
    return Clock::time_point(std::chrono::milliseconds(milliseconds));
}

int EndCode(RunEnd end)
{
    for (int code = 0; code < 4; ++code) {
        if (Ends[code] == end)
            return code;
    }
    return 3;
}

// COPY's binary format: no escaping on our side, no parsing of hex on the server's.
class BinaryRows {
public:
    BinaryRows() { bytes_.append("PGCOPY\n\xFF\r\n\0", 11).append(8, '\0'); }
    void row(std::int16_t fields) { big(static_cast<std::uint16_t>(fields)); }
    void int8(std::int64_t value)
    {
        field(8);
        big(static_cast<std::uint64_t>(value));
    }
    void int4(std::int32_t value)
    {
        field(4);
        big(static_cast<std::uint32_t>(value));
    }
    void bytea(std::string_view value)
    {
        field(static_cast<std::int32_t>(value.size()));
        bytes_.append(value);
    }
    std::string finish()
    {
        big(std::uint16_t(0xFFFF));
        return std::move(bytes_);
    }

private:
    void field(std::int32_t length) { big(static_cast<std::uint32_t>(length)); }
    template <typename Unsigned>
    void big(Unsigned value)
    {
        for (int shift = 8 * (sizeof(Unsigned) - 1); shift >= 0; shift -= 8)
            bytes_ += static_cast<char>((value >> shift) & 0xFF);
    }
    std::string bytes_;
};

std::string ProductRows(std::int64_t run, const std::vector<Product>& products)
{
    BinaryRows rows;
    for (size_t i = 0; i < products.size(); ++i) {
        const Product& p = products[i];
        rows.row(10);
        rows.int8(run);
        rows.int4(static_cast<std::int32_t>(i + 1));
        for (const std::string* field : {&p.id, &p.picture, &p.title, &p.salePrice, &p.marketPrice, &p.sold, &p.reviews})
            rows.bytea(*field);
        rows.int4(p.page);
    }
    return rows.finish();
}

std::int64_t ShopId(Connection& connection, const std::string& host)
{
    const std::string bytes = HexBytes(host);
    connection.exec("INSERT INTO shop(host) VALUES($1::bytea) ON CONFLICT DO NOTHING", {bytes});
    // Locked until the commit, so two programs recording one shop number their runs in turn.
    return connection.exec("SELECT id FROM shop WHERE host = $1::bytea FOR UPDATE", {bytes}).integer(0, 0);
}

}  // namespace

std::string HostArray(const std::vector<std::string>& hosts)
{
    std::string list = "{";
    for (const std::string& host : hosts)
        list += (list.size() > 1 ? "," : "") + host;
    return list + "}";
}

std::vector<batch::ShopState> StatesInListOrder(const Result& rows, const std::vector<std::string>& hosts)
{
    std::map<std::string, batch::ShopState> byHost;
    for (int row = 0; row < rows.rows(); ++row) {
        batch::ShopState state{rows.text(row, 0), batch::ShopStage(rows.integer(row, 1)), std::nullopt, 0};
        if (!rows.isNull(row, 2))
            state.outcome = batch::OutcomeFromCode(rows.integer(row, 2));
        if (!rows.isNull(row, 3))
            state.run = rows.integer(row, 3);
        byHost[state.host] = state;
    }
    std::vector<batch::ShopState> states;
    for (const std::string& host : hosts)
        states.push_back(byHost.contains(host) ? byHost[host] : batch::ShopState{host, batch::ShopStage::Pending, std::nullopt, 0});
    return states;
}

RecordedRun RecordRun(Connection& connection, const CollectionRun& run, const std::string& programVersion)
{
    const std::int64_t shop = ShopId(connection, run.shopHost);
    const std::string shopText = std::to_string(shop);
    const Result inserted = connection.exec(
        "INSERT INTO run(shop, number, family, started_ms, ended_ms, outcome, page_count, pages_collected,"
        " product_count, failure_cause, version) SELECT $1, coalesce(max(number), 0) + 1, $2, $3, $4, $5, $6, $7,"
        " $8, $9::bytea, $10 FROM run WHERE shop = $1 RETURNING id, number",
        {shopText, run.family == ShopFamily::Tmall ? "1" : "0", Milliseconds(run.started), Milliseconds(run.ended),
         std::to_string(EndCode(run.end)), std::to_string(run.pageCount), std::to_string(run.pagesCollected),
         std::to_string(run.products.size()), HexBytes(run.failureCause), programVersion});
    const RecordedRun recorded{inserted.integer(0, 0), inserted.integer(0, 1)};
    const std::int64_t id = recorded.id;
    for (const LostPage& lost : run.lostPages)
        connection.exec("INSERT INTO lost_page(run, page, cause) VALUES($1, $2, $3::bytea)",
                        {std::to_string(id), std::to_string(lost.page), HexBytes(lost.cause)});
    if (!run.products.empty())
        connection.copyIn("COPY run_product(run, position, item, picture, title, sale_price, market_price, sold,"
                          " reviews, page) FROM STDIN (FORMAT binary)",
                          ProductRows(id, run.products));
    return recorded;
}

CollectionRun LoadRun(Connection& connection, const std::string& host, std::int64_t number)
{
    const Result head = connection.exec(
        "SELECT s.host, r.family, r.started_ms, r.ended_ms, r.outcome, r.page_count, r.pages_collected,"
        " r.failure_cause, r.id FROM run r JOIN shop s ON s.id = r.shop WHERE s.host = $1::bytea AND r.number = $2",
        {HexBytes(host), std::to_string(number)});
    if (head.rows() != 1)
        throw PgFailure{"run " + std::to_string(number) + " of " + host + " is not in the store"};
    const std::string key = head.text(0, 8);
    CollectionRun run;
    run.shopHost = head.bytes(0, 0);
    run.family = head.integer(0, 1) == 1 ? ShopFamily::Tmall : ShopFamily::Taobao;
    run.started = At(head.integer(0, 2));
    run.ended = At(head.integer(0, 3));
    run.end = Ends[head.integer(0, 4) & 3];
    run.pageCount = static_cast<int>(head.integer(0, 5));
    run.pagesCollected = static_cast<int>(head.integer(0, 6));
    run.failureCause = head.bytes(0, 7);
    const Result lost = connection.exec("SELECT page, cause FROM lost_page WHERE run = $1 ORDER BY page", {key});
    for (int row = 0; row < lost.rows(); ++row)
        run.lostPages.push_back({static_cast<int>(lost.integer(row, 0)), lost.bytes(row, 1)});
    const Result products = connection.exec(
        "SELECT position, item, picture, title, sale_price, market_price, sold, reviews, page FROM run_product"
        " WHERE run = $1 ORDER BY position",
        {key});
    for (int row = 0; row < products.rows(); ++row)
        run.products.push_back({products.bytes(row, 1), products.bytes(row, 2), products.bytes(row, 3),
                                products.bytes(row, 4), products.bytes(row, 5), products.bytes(row, 6),
                                products.bytes(row, 7), static_cast<int>(products.integer(row, 8)),
                                static_cast<int>(products.integer(row, 0))});
    return run;
}

}  // namespace korvel::pg
