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

namespace korvel::backend_text {

inline constexpr char DialogTitle[] = "后台地址";
inline constexpr char DialogLabel[] = "会员导入的后台地址（主机[:端口]、http://主机[:端口] 或 https://主机[:端口]）：";
inline constexpr char MenuItem[] = "后台地址…";
// 后台地址无效：… followed by the forms it may take.
inline constexpr char InvalidPrefix[] = "后台地址无效：";
inline constexpr char InvalidSuffix[] = "\n只能填写 主机[:端口]、http://主机[:端口] 或 https://主机[:端口]，不能带路径或其他字符。";
// 后台 … 不是本机，且不用 HTTPS：…
inline constexpr char ClearTextPrefix[] = "后台 ";
inline constexpr char ClearTextSuffix[] =
    " 不是本机，且不用 HTTPS：后台帐号的密码和会员的姓名、手机号码、密码将以明文在网络上传送，途中任何人都能读到。\n"
    "是否继续导入？";
inline constexpr char ClearTextTitle[] = "明文传送";
inline constexpr char NotSaved[] = "后台地址已改用，但无法写入设置文件，下次启动时不会保留。";
inline constexpr char GoOn[] = "继续";
inline constexpr char Stop[] = "停止";

}  // namespace korvel::backend_text
