#include "pgstore/PgRecords.h"

#include <map>

namespace korvel::pg {

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

}  // namespace korvel::pg
