#pragma once

// The referral module's member tables in both schema generations, as real installations hold them
// (MyISAM, utf8, the required columns NOT NULL without default), and members to fill them with.

#include <mysql.h>

#include <optional>
#include <string>
#include <vector>

namespace korvel::tools {

// One member of the module with its fan row. Texts are UTF-8, as the platform writes them.
struct SeedMember {
    int id = 0;  // the module row's id, which shareid refers to
    int weid = 1;
    std::string fromUser;
    std::optional<int> shareid = 0;  // std::nullopt is stored as NULL
    std::string realname;
    std::string mobile;
    std::string email;
    std::string pwd;
    std::string avatar;
    int gender = 0;
    int follow = 1;
    std::optional<int> status = 1;
    std::optional<int> flag = 0;
    std::string credit1 = "0";
    std::string credit2 = "0";
    std::string nationality;
    std::string province;
    std::string city;
};

// Runs one statement; false on failure.
[[nodiscard]] bool RunSql(MYSQL* db, const std::string& sql);

[[nodiscard]] bool CreateMemberTables052(MYSQL* db);
[[nodiscard]] bool CreateMemberTables060(MYSQL* db);
// Inserts in batches; the connection's character set is switched to utf8 first.
[[nodiscard]] bool SeedMembers052(MYSQL* db, const std::vector<SeedMember>& members);
[[nodiscard]] bool SeedMembers060(MYSQL* db, const std::vector<SeedMember>& members);

// `count` members of account `weid` with ids 1…count, Chinese names, every tenth one a top-level
// member and the others referred by the member before them.
std::vector<SeedMember> NumberedMembers(int count, int weid = 1);

}  // namespace korvel::tools
