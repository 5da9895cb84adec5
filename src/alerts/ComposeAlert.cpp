#include "alerts/ComposeAlert.h"

#include "alerts/ChangeLine.h"
#include "alerts/ChangeOrder.h"
#include "alerts/Digests.h"
#include "alerts/Inert.h"
#include "alerts/RunTime.h"
#include "alerts/Utf8Cut.h"
#include "store/ChangeRows.h"
#include "text/Gbk.h"

namespace korvel::alerts {
namespace {

std::string Heading(const std::string& title, Rendering rendering)
{
    return rendering == Rendering::Markdown ? "### " + title : title;
}

std::string GroupHeading(const KindGroup& group, Rendering rendering)
{
    const std::string words = KindCaption(group.kind) + "（" + std::to_string(group.rows.size()) + " 项）";
    return rendering == Rendering::Markdown ? "**" + words + "**" : "【" + words + "】";
}

std::string LeftOut(std::size_t count)
{
    return "\n\n另有 " + std::to_string(count) + " 项变化";
}

// Whole lines while they fit, each with room left for the line that counts what is left out; the
// last line needs no such room.
std::string Body(const std::string& head, const std::vector<KindGroup>& groups, std::size_t total,
                 const MessageLayout& layout)
{
    std::string text = head;
    std::size_t included = 0;
    for (const KindGroup& group : groups) {
        for (std::size_t i = 0; i < group.rows.size(); ++i) {
            const std::string piece = (i == 0 ? "\n\n" + GroupHeading(group, layout.rendering) : "") + "\n" +
                                      ChangeLine(*group.rows[i], layout.rendering);
            const std::size_t after = included + 1;
            const std::size_t room = after == total ? 0 : LeftOut(total - after).size();
            if (text.size() + piece.size() + room > layout.limitBytes)
                return std::string(CutUtf8Bytes(text + LeftOut(total - included), layout.limitBytes));
            text += piece;
            included = after;
        }
    }
    return std::string(CutUtf8Bytes(text, layout.limitBytes));
}

std::string DeliveryIdOf(const ChangeReport& report)
{
    const std::string identity = report.after.shopHost + "\n" + std::to_string(report.before.number) + "\n" +
                                 std::to_string(report.after.number) + "\n" +
                                 std::to_string(report.after.ended.time_since_epoch().count());
    return Hex(Sha256(identity)).substr(0, 32);
}

}  // namespace

AlertMessage ComposeAlert(const ChangeReport& report, const MessageLayout& layout, std::chrono::minutes utcOffset)
{
    AlertMessage message;
    message.shop = gbk::ToUtf8(report.after.shopHost);
    message.runBefore = report.before.number;
    message.runAfter = report.after.number;
    message.ended = report.after.ended;
    message.deliveryId = DeliveryIdOf(report);
    message.changes = ChangeRows(report);
    const std::size_t total = message.changes.size();
    message.title = Inert(message.shop, Rendering::Plain) + " 商品变化 " + std::to_string(total) + " 项";
    const std::string head = Heading(message.title, layout.rendering) + "\n采集结束于 " +
                             ClockText(report.after.ended, utcOffset) + "（第 " + std::to_string(message.runAfter) +
                             " 次采集，对比第 " + std::to_string(message.runBefore) + " 次）" +
                             (total == 0 ? "，没有变化" : "");
    message.text = Body(head, GroupBiggestFirst(message.changes), total, layout);
    return message;
}

AlertMessage TestAlert(const MessageLayout& layout)
{
    AlertMessage message;
    message.ended = std::chrono::system_clock::now();
    message.deliveryId = RandomHex(16);
    message.test = true;
    message.title = "Korvel 测试消息";
    const std::string text = Heading(message.title, layout.rendering) +
                             "\n收到这条消息，说明这个渠道能收到 Korvel 的商品变化提醒。";
    message.text = std::string(CutUtf8Bytes(text, layout.limitBytes));
    return message;
}

}  // namespace korvel::alerts
