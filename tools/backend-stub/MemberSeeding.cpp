#include <functional>

#include "backend-stub/MemberTables.h"

namespace korvel::tools {

namespace {

constexpr size_t RowsPerInsert = 500;

class Row {
public:
    explicit Row(MYSQL* db) : db_(db) {}
    Row& text(const std::string& value)
    {
        std::string escaped(value.size() * 2 + 1, '\0');
        escaped.resize(mysql_real_escape_string(db_, escaped.data(), value.data(), value.size()));
        return raw("'" + escaped + "'");
    }
    Row& number(long long value) { return raw(std::to_string(value)); }
    Row& maybe(const std::optional<int>& value) { return value ? number(*value) : raw("NULL"); }
    Row& raw(const std::string& sql)
    {
        sql_ += sql_.empty() ? "(" : ",";
        sql_ += sql;
        return *this;
    }
    std::string done() const { return sql_ + ")"; }

private:
    MYSQL* db_;
    std::string sql_;
};

using RowMaker = std::function<std::string(MYSQL*, const SeedMember&)>;

bool InsertAll(MYSQL* db, const std::string& head, const std::vector<SeedMember>& members,
               const RowMaker& make)
{
    for (size_t from = 0; from < members.size(); from += RowsPerInsert) {
        std::string sql = head + " values ";
        for (size_t i = from; i < members.size() && i < from + RowsPerInsert; ++i) {
            if (i != from) {
                sql += ',';
            }
            sql += make(db, members[i]);
        }
        if (!RunSql(db, sql)) {
            return false;
        }
    }
    return true;
}

std::string Fan052(MYSQL* db, const SeedMember& m)
{
    return Row(db)
        .number(m.weid)
        .text(m.fromUser)
        .number(m.follow)
        .raw(m.credit1)
        .raw(m.credit2)
        .number(1400000000)
        .text("")
        .text(m.avatar)
        .text(m.mobile)
        .number(m.gender)
        .text(m.email)
        .text(m.nationality)
        .text(m.province)
        .text(m.city)
        .text("")
        .text("")
        .done();
}

std::string Member052(MYSQL* db, const SeedMember& m)
{
    return Row(db)
        .number(m.id)
        .number(m.weid)
        .maybe(m.shareid)
        .text(m.fromUser)
        .text(m.realname)
        .text(m.mobile)
        .text(m.pwd)
        .number(1400000000)
        .maybe(m.status)
        .maybe(m.flag)
        .done();
}

std::string Mapping060(MYSQL* db, const SeedMember& m)
{
    return Row(db)
        .number(m.id)
        .number(m.weid)
        .number(m.weid)
        .number(m.id)
        .text(m.fromUser)
        .number(m.follow)
        .number(1400000000)
        .number(0)
        .done();
}

std::string McMember060(MYSQL* db, const SeedMember& m)
{
    return Row(db)
        .number(m.id)
        .number(m.weid)
        .text(m.mobile)
        .text(m.email)
        .text(m.pwd)
        .raw(m.credit1)
        .raw(m.credit2)
        .number(1400000000)
        .text(m.realname)
        .text(m.avatar)
        .number(m.gender)
        .text(m.nationality)
        .text(m.province)
        .text(m.city)
        .text("")
        .text("")
        .done();
}

std::string Module060(MYSQL* db, const SeedMember& m)
{
    return Row(db)
        .number(m.id)
        .number(m.weid)
        .number(m.id)
        .maybe(m.shareid)
        .text(m.fromUser)
        .text(m.realname)
        .text(m.mobile)
        .text(m.pwd)
        .number(1400000000)
        .maybe(m.status)
        .maybe(m.flag)
        .done();
}

}  // namespace

bool SeedMembers052(MYSQL* db, const std::vector<SeedMember>& members)
{
    return RunSql(db, "set names utf8") &&
           InsertAll(db,
                     "insert into ims_fans (weid,from_user,follow,credit1,credit2,createtime,realname,avatar,"
                     "mobile,gender,email,nationality,resideprovince,residecity,bio,interest)",
                     members, Fan052) &&
           InsertAll(
               db,
               "insert into ims_bj_qmxk_member (id,weid,shareid,from_user,realname,mobile,pwd,createtime,"
               "status,flag)",
               members, Member052);
}

bool SeedMembers060(MYSQL* db, const std::vector<SeedMember>& members)
{
    return RunSql(db, "set names utf8") &&
           InsertAll(db,
                     "insert into ims_mc_mapping_fans (fanid,acid,uniacid,uid,openid,follow,followtime,"
                     "unfollowtime)",
                     members, Mapping060) &&
           InsertAll(
               db,
               "insert into ims_mc_members (uid,uniacid,mobile,email,password,credit1,credit2,createtime,"
               "realname,avatar,gender,nationality,resideprovince,residecity,bio,interest)",
               members, McMember060) &&
           InsertAll(db,
                     "insert into ims_zqn_fxxt_member (id,uniacid,uid,shareid,from_user,realname,mobile,pwd,"
                     "createtime,status,flag)",
                     members, Module060);
}

}  // namespace korvel::tools
