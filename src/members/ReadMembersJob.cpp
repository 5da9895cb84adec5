#include <errmsg.h>
#include <mysql.h>

#include <memory>

#include "members/MemberJobs.h"
#include "members/MemberQueries.h"
#include "members/MemberResult.h"
#include "members/MemberRowFeeder.h"

namespace korvel {

namespace {

using ResultOwner = std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)>;

// Hands the rows on while the read is wanted; the result is already wholly on the client.
MemberReadResult HandOnRows(MemberSession& session, const MemberReadEvents& events, MYSQL_RES* result,
                            std::int32_t total)
{
    const MemberColumnPositions positions = FindMemberColumns(result);
    mysql_data_seek(result, 0);
    MemberRowFeeder feeder(events.rows, session.readPacing);
    for (std::int32_t k = 1; k <= total; ++k) {
        if (session.memberReadingActive == 0) {
            feeder.flush();
            return {MemberReadEnd::Stopped, total, k - 1};
        }
        MYSQL_ROW row = mysql_fetch_row(result);
        if (row == nullptr) {
            break;
        }
        feeder.add(MemberFromRow(row, positions, k));
    }
    feeder.flush();
    return {MemberReadEnd::Done, total, total};
}

// A statement the client library gave up on (a time limit, a lost or cancelled connection) leaves
// the connection in no known state: it is closed, and the next read asks for a new one. A statement
// the server refused leaves it usable.
MemberReadResult StatementFailed(MemberDbConnection::Lease& lease)
{
    const unsigned int error = mysql_errno(lease.handle());
    if (error < CR_MIN_ERROR || error > CR_MAX_ERROR) {
        return {MemberReadEnd::Failed};
    }
    lease.drop();
    return {MemberReadEnd::Failed, 0, 0, true};
}

// Runs the statement and brings its rows wholly onto the client. The lease ends here: a connect
// press may be waiting for the connection while the rows are handed on.
MemberReadResult StoreMembers(MemberSession& session, const std::string& statement, ResultOwner& result)
{
    auto lease = session.connection().lease();
    MYSQL* db = lease.handle();
    if (db == nullptr) {
        return {MemberReadEnd::Failed};
    }
    mysql_real_query(db, MemberQueryCharset, sizeof MemberQueryCharset - 1);  // outcome not needed
    if (mysql_real_query(db, statement.data(), statement.size()) != 0) {
        return StatementFailed(lease);
    }
    result.reset(mysql_store_result(db));
    if (!result && mysql_field_count(db) != 0) {
        return StatementFailed(lease);  // the rows were lost on the way
    }
    return {MemberReadEnd::Done};
}

}  // namespace

MemberReadResult ReadMembers(MemberSession& session, const std::optional<std::string>& statement,
                             const MemberReadEvents& events)
{
    if (!statement) {
        return {MemberReadEnd::Failed};  // a refused identifier sends the server nothing at all
    }
    ResultOwner result(nullptr, mysql_free_result);
    if (const MemberReadResult stored = StoreMembers(session, *statement, result);
        stored.end != MemberReadEnd::Done) {
        return stored;
    }
    const auto total = static_cast<std::int32_t>(result ? mysql_num_rows(result.get()) : 0);
    events.counted(total);
    return total > 0 ? HandOnRows(session, events, result.get(), total) : MemberReadResult{MemberReadEnd::Done};
}

}  // namespace korvel
