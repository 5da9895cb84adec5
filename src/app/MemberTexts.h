#pragma once

// The member page's captions and messages. The page shows them through MemberScreen, which takes
// GBK like every cell and field of the page: Utf8ToGbk turns each into those bytes where it is used.

namespace korvel::member_text {

inline constexpr char ConnectedStatus[] = "提示：数据库连接成功。";
inline constexpr char ConnectFailedStatus[] = "提示：数据库连接失败。";
inline constexpr char ConnectFailed[] = "数据库连接失败！";
inline constexpr char ConnectFailedTitle[] = "连接失败";
inline constexpr char NotConnected[] = "数据库尚未连接！";

inline constexpr char ReadButtonIdle[] = "读取用户信息";
inline constexpr char ReadButtonStop[] = "停止读取";
inline constexpr char UploadButtonIdle[] = "导入会员信息";
inline constexpr char UploadButtonBusy[] = "正在导出...";

inline constexpr char QueryFailed[] = "数据查询失败！";
// 提示：读取成功，记录总数 … 条。
inline constexpr char ReadDonePrefix[] = "提示：读取成功，记录总数";
inline constexpr char CountSuffix[] = "条。";
// 提示：停止读取，记录总数 … 条，当前读取到 … 条。
inline constexpr char ReadStoppedPrefix[] = "提示：停止读取，记录总数";
inline constexpr char ReadStoppedMiddle[] = "条，当前读取到";

// 已经成功导入： … ，更新： … ，失败： …
inline constexpr char TallyImported[] = "已经成功导入：";
inline constexpr char TallyUpdated[] = "，更新：";
inline constexpr char TallyFailed[] = "，失败：";

inline constexpr char ReplyUpdated[] = "已存在此会员，更新成功！";
inline constexpr char ReplyImported[] = "导入会员成功，请进后台查看！";
inline constexpr char ExportSucceeded[] = "导出成功";
inline constexpr char ReplyBadAccount[] = "帐号或密码错误！";
inline constexpr char ReplyExists[] = "已存在此会员数据！";
inline constexpr char ExportFailed[] = "导出失败";

}  // namespace korvel::member_text
