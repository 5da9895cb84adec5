#include "backend-stub/MemberTables.h"

#include <cstring>

namespace korvel::tools {

namespace {

constexpr const char* Tables052[] = {
    "create table ims_fans (id int unsigned not null auto_increment primary key, weid int unsigned not null,"
    " from_user varchar(50) not null, follow tinyint(1) unsigned not null default 1,"
    " credit1 int unsigned not null default 0, credit2 double unsigned not null default 0,"
    " createtime int unsigned not null, realname varchar(10) not null default '',"
    " avatar varchar(200) not null default '', mobile varchar(11) not null default '',"
    " gender tinyint(1) not null default 0, email varchar(50) not null default '',"
    " nationality varchar(30) not null default '', resideprovince varchar(30) not null default '',"
    " residecity varchar(30) not null default '', bio text not null, interest text not null,"
    " key from_user (from_user)) engine=MyISAM default charset=utf8",
    "create table ims_bj_qmxk_member (id int unsigned not null auto_increment primary key,"
    " weid int unsigned not null, shareid int default null, from_user varchar(50) not null,"
    " realname varchar(20) not null, mobile varchar(11) not null, pwd varchar(20) not null,"
    " createtime int not null, status tinyint(1) default 1, flag tinyint(1) default 0,"
    " credit2 double not null default 0) engine=MyISAM default charset=utf8",
};

constexpr const char* Tables060[] = {
    "create table ims_mc_mapping_fans (fanid int unsigned not null auto_increment primary key,"
    " acid int unsigned not null, uniacid int unsigned not null default 0, uid int unsigned not null default "
    "0,"
    " openid varchar(50) not null, follow tinyint(1) unsigned not null default 1,"
    " followtime int unsigned not null, unfollowtime int unsigned not null) engine=MyISAM default "
    "charset=utf8",
    "create table ims_mc_members (uid int unsigned not null auto_increment primary key,"
    " uniacid int unsigned not null, mobile varchar(11) not null default '', email varchar(50) not null "
    "default '',"
    " password varchar(32) not null default '', credit1 decimal(10,2) unsigned not null default 0.00,"
    " credit2 decimal(10,2) unsigned not null default 0.00, createtime int unsigned not null,"
    " realname varchar(10) not null default '', avatar varchar(255) not null default '',"
    " gender tinyint(1) not null default 0, nationality varchar(30) not null default '',"
    " resideprovince varchar(30) not null default '', residecity varchar(30) not null default '',"
    " bio text not null, interest text not null) engine=MyISAM default charset=utf8",
    "create table ims_zqn_fxxt_member (id int unsigned not null auto_increment primary key,"
    " uniacid int unsigned not null, uid int default null, shareid int default null,"
    " from_user varchar(50) not null, realname varchar(20) not null, mobile varchar(11) not null,"
    " pwd varchar(20) not null, createtime int not null, status tinyint(1) default 1,"
    " flag tinyint(1) default 0, credit2 double not null default 0) engine=MyISAM default charset=utf8",
};

template <size_t N>
bool RunAll(MYSQL* db, const char* const (&statements)[N])
{
    for (const char* statement : statements) {
        if (!RunSql(db, statement)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool RunSql(MYSQL* db, const std::string& sql)
{
    if (mysql_real_query(db, sql.data(), sql.size()) != 0) {
        return false;
    }
    if (MYSQL_RES* result = mysql_store_result(db)) {
        mysql_free_result(result);
    }
    return true;
}

bool CreateMemberTables052(MYSQL* db)
{
    return RunAll(db, Tables052);
}

bool CreateMemberTables060(MYSQL* db)
{
    return RunAll(db, Tables060);
}

std::vector<SeedMember> NumberedMembers(int count, int weid)
{
    static const char* const Names[] = {"张伟", "王芳", "李娜", "刘洋", "陈静", "杨磊", "赵敏", "黄勇"};
    std::vector<SeedMember> members;
    members.reserve(count);
    for (int i = 1; i <= count; ++i) {
        SeedMember m;
        m.id = i;
        m.weid = weid;
        m.fromUser = "oFan" + std::to_string(weid) + "_" + std::to_string(i);
        m.shareid = i % 10 == 1 ? 0 : i - 1;
        m.realname = std::string(Names[i % 8]) + std::to_string(i % 100);
        m.mobile = "138" + std::to_string(10000000 + i);
        m.email = "m" + std::to_string(i) + "@example.com";
        m.pwd = "pw" + std::to_string(i);
        m.avatar = "http://img.example.com/a/" + std::to_string(i) + ".jpg";
        m.gender = i % 3;
        m.credit1 = std::to_string(i % 500);
        m.credit2 = std::to_string(i % 7) + ".5";
        m.nationality = "中国";
        m.province = "浙江";
        m.city = "杭州";
        members.push_back(std::move(m));
    }
    return members;
}

}  // namespace korvel::tools
