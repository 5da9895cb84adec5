#include <errmsg.h>
#include <mysql.h>

#include <cstdint>
#include <memory>

#include "members/ConnectMemberDatabase.h"
#include "members/MemberQueries.h"
#include "members/MemberResult.h"
#include "members/MemberRowFeeder.h"
#include "members/MemberTexts.h"
#include "members/ReadMembers.h"
#include "text/Text.h"

namespace korvel {

namespace {

enum class ReadEnd { Failed, Stopped, Done, Closing };

struct ReadOutcome {
    ReadEnd end;
    std::int32_t total = 0;
    std::int32_t shown = 0;
    bool connectionClosed = false;
};

using ResultOwner = std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)>;

std::string StoppedStatus(std::int32_t total, std::int32_t shown)
{
    return member_text::ReadStoppedPrefix + IntToText(total) + member_text::ReadStoppedMiddle +
           IntToText(shown) + member_text::CountSuffix;
}

// Shows the rows while the read is wanted; the result is already wholly on the client.
ReadOutcome ShowRows(MemberSession& session, MemberScreen& screen, MYSQL_RES* result, std::int32_t total)
{
    const MemberColumnPositions positions = FindMemberColumns(result);
    mysql_data_seek(result, 0);
    MemberRowFeeder feeder(screen, session.readPacing);
    for (std::int32_t k = 1; k <= total; ++k) {
        if (session.memberReadingActive == 0) {
            return {feeder.flush() ? ReadEnd::Stopped : ReadEnd::Closing, total, k - 1};
        }
        MYSQL_ROW row = mysql_fetch_row(result);
        if (row == nullptr) {
            break;
        }
        if (!feeder.add(MemberFromRow(row, positions, k))) {
            return {ReadEnd::Closing};
        }
    }
    return {feeder.flush() ? ReadEnd::Done : ReadEnd::Closing, total, total};
}

// A statement the client library gave up on (a time limit, a lost or cancelled connection) leaves
// the connection in no known state: it is closed, and the next read asks for a new one. A statement
// the server refused leaves it usable.
ReadOutcome StatementFailed(MemberDbConnection::Lease& lease)
{
    const unsigned int error = mysql_errno(lease.handle());
    if (error < CR_MIN_ERROR || error > CR_MAX_ERROR) {
        return {ReadEnd::Failed};
    }
    lease.drop();
    return {ReadEnd::Failed, 0, 0, true};
}

// Runs the statement and brings its rows wholly onto the client. The lease ends here, before any
// call into the window: the window's thread may itself be waiting for the connection (a connect
// press), and a worker that held it while waiting for the window would freeze both for good.
ReadOutcome StoreMembers(MemberSession& session, const std::string& statement, ResultOwner& result)
{
    auto lease = session.connection().lease();
    MYSQL* db = lease.handle();
    if (db == nullptr) {
        return {ReadEnd::Failed};
    }
    mysql_real_query(db, MemberQueryCharset, sizeof MemberQueryCharset - 1);  // outcome not needed
    if (mysql_real_query(db, statement.data(), statement.size()) != 0) {
        return StatementFailed(lease);
    }
    result.reset(mysql_store_result(db));
    if (!result && mysql_field_count(db) != 0) {
        return StatementFailed(lease);  // the rows were lost on the way
    }
    return {ReadEnd::Done};
}

ReadOutcome RunRead(MemberSession& session, MemberScreen& screen)
{
    int schema = -1;
    std::string identifier;
    if (!screen.invoke([&] {
            schema = screen.schemaValue();
            identifier = screen.fieldText(MemberField::AccountId);
        })) {
        return {ReadEnd::Closing};
    }
    const std::optional<std::string> statement = BuildMemberQuery(schema, identifier);
    if (!statement) {
        return {ReadEnd::Failed};  // a refused identifier sends the server nothing at all
    }
    ResultOwner result(nullptr, mysql_free_result);
    if (const ReadOutcome stored = StoreMembers(session, *statement, result); stored.end != ReadEnd::Done) {
        return stored;
    }
    const auto total = static_cast<std::int32_t>(result ? mysql_num_rows(result.get()) : 0);
    const bool cleared = screen.invoke([&] {
        // A stop press may have let an upload start meanwhile; the list is then the upload's.
        if (!session.uploadRunning) {
            screen.clearMembers();
            session.failedUploads.clear();  // they belonged to the list that goes
        }
        screen.setStatus(member_text::ReadDonePrefix + IntToText(total) + member_text::CountSuffix);
    });
    if (!cleared) {
        return {ReadEnd::Closing};
    }
    return total > 0 ? ShowRows(session, screen, result.get(), total) : ReadOutcome{ReadEnd::Done};
}

// The reader's last call into the window. While an upload runs (it can start after a stop press)
// the buttons and the combo box are the upload's to restore.
void FinishRead(MemberSession& session, MemberScreen& screen, const ReadOutcome& outcome)
{
    // A window that is closing needs nothing restored.
    static_cast<void>(screen.invoke([&] {
        session.readerAlive = false;
        const bool controlsFree = !session.uploadRunning;
        if (outcome.end == ReadEnd::Stopped) {
            screen.setStatus(StoppedStatus(outcome.total, outcome.shown));
        } else {
            session.memberReadingActive = 0;
            screen.setCaption(MemberControl::ReadButton, member_text::ReadButtonIdle);
            if (controlsFree) {
                screen.setEnabled(MemberControl::SchemaCombo, true);
            }
            if (controlsFree && outcome.end == ReadEnd::Done && outcome.total > 0) {
                screen.setEnabled(MemberControl::UploadButton, true);
            }
        }
        if (controlsFree) {
            screen.setEnabled(MemberControl::ReadButton, true);
        }
        if (outcome.connectionClosed) {
            ShowConnectionGroup(screen);
        }
        if (outcome.end == ReadEnd::Failed) {
            screen.showMessage(member_text::QueryFailed, "", MessageIcon::Error);
        }
    }));
}

}  // namespace

void ReadMembersWorker(MemberSession& session, MemberScreen& screen)
{
    const ReadOutcome outcome = RunRead(session, screen);
    if (outcome.end == ReadEnd::Closing) {
        session.memberReadingActive = 0;
        return;
    }
    FinishRead(session, screen, outcome);
}

}  // namespace korvel
