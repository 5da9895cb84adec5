#include "support/MemberTestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace korvel::test {

MemberTestDatabase::MemberTestDatabase()
{
    static std::atomic<int> counter{0};
    port_ = TestMysqlPort().value_or(0);
    name_ = "korvel_members_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    db_ = mysql_init(nullptr);
    if (mysql_real_connect(db_, "127.0.0.1", "root", nullptr, nullptr, port_, nullptr, 0) == nullptr ||
        mysql_query(db_, ("drop database if exists " + name_).c_str()) != 0 ||
        mysql_query(db_, ("create database " + name_ + " character set utf8").c_str()) != 0 ||
        mysql_select_db(db_, name_.c_str()) != 0) {
        mysql_close(db_);
        db_ = nullptr;
    }
}

MemberTestDatabase::~MemberTestDatabase()
{
    if (db_ != nullptr) {
        unlockTables();
        mysql_query(db_, ("drop database if exists " + name_).c_str());
        mysql_close(db_);
    }
}

std::string MemberTestDatabase::scalar(const std::string& sql)
{
    if (mysql_real_query(db_, sql.data(), sql.size()) != 0) {
        return {};
    }
    MYSQL_RES* result = mysql_store_result(db_);
    if (result == nullptr) {
        return {};
    }
    MYSQL_ROW row = mysql_fetch_row(result);
    std::string value = row != nullptr && row[0] != nullptr ? row[0] : "";
    mysql_free_result(result);
    return value;
}

bool MemberTestDatabase::lockForWriting(const std::string& table)
{
    return mysql_query(db_, ("lock tables " + table + " write").c_str()) == 0;
}

void MemberTestDatabase::unlockTables()
{
    mysql_query(db_, "unlock tables");
}

bool MemberTestDatabase::lockWaiterPresent()
{
    return scalar("select count(*) from information_schema.processlist where db = '" + name_ +
                  "' and state like 'Waiting for table%'") != "0";
}

}  // namespace korvel::test
