#pragma once

// The two member statements, one per schema generation of the referral module. The public
// account's identifier goes between the two halves of each.

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

inline constexpr int MemberSchema052 = 52;
inline constexpr int MemberSchema060 = 60;

inline constexpr char MemberQueryCharset[] = "set names 'GBK'";

inline constexpr char MemberQuery052Head[] =
    "select b.id,b.weid,b.from_user,(select c.from_user from ims_bj_qmxk_member c where c.id=b.shareid and "
    "c.weid=a.weid and c.shareid<>0 limit 1) "
    "from_user_b,b.realname,a.gender,b.mobile,a.email,b.pwd,a.credit1,"
    "a.credit2,a.follow,b.status,b.flag,a.avatar,a.nationality,a.resideprovince,a.residecity from ims_fans "
    "a, "
    "ims_bj_qmxk_member b where a.from_user=b.from_user and a.weid=";
inline constexpr char MemberQuery052Tail[] = " and a.weid=b.weid";

inline constexpr char MemberQuery060Head[] =
    "select a.fanid,a.uniacid as weid,a.openid as from_user,(select d.from_user from ims_zqn_fxxt_member d "
    "where d.id=c.shareid and d.uniacid=a.uniacid and d.shareid<>0 limit 1) as "
    "from_user_b,b.realname,b.gender,"
    "b.mobile,b.email,b.password as pwd,b.credit1,b.credit2,a.follow,c.status,c.flag,b.avatar,b.nationality,"
    "b.resideprovince,b.residecity from ims_mc_mapping_fans a, ims_mc_members b, ims_zqn_fxxt_member c where "
    "a.uid=b.uid and a.uniacid=";
inline constexpr char MemberQuery060Tail[] =
    " and a.uniacid=b.uniacid and a.openid=c.from_user and a.uniacid=c.uniacid";

// True for an optional "-" followed by one or more ASCII digits and nothing else.
bool IsPlainDecimalInteger(std::string_view text);

// The statement for the schema value of 组合框1 (52 picks the 0.52 statement, any other value the
// 0.60 one) and the identifier typed in 编辑框15. The identifier is written into the statement as
// it is, so anything but a plain decimal integer, give or take spaces around it, is refused:
// nothing then reaches the server.
std::optional<std::string> BuildMemberQuery(int schemaValue, std::string_view typed);

}  // namespace korvel
