#include "alerts/Delivery.h"

#include "text/Gbk.h"

namespace korvel::alerts {
namespace {

const char* ChannelWords(ChannelKind channel)
{
    switch (channel) {
        case ChannelKind::DingTalk: return "钉钉机器人";
        case ChannelKind::WeCom: return "企业微信机器人";
        case ChannelKind::Feishu: return "飞书机器人";
        case ChannelKind::Webhook: return "Webhook";
        case ChannelKind::Email: return "邮件";
    }
    return "";
}

std::string TransportWords(HttpFailure failure)
{
    switch (failure) {
        case HttpFailure::UnknownHost: return "找不到服务器（域名无法解析）";
        case HttpFailure::ConnectionRefused: return "服务器拒绝连接";
        case HttpFailure::ConnectFailed:
        case HttpFailure::ConnectTimeout: return "无法连接到服务器";
        case HttpFailure::IdleTimeout:
        case HttpFailure::TotalTimeout: return "服务器响应超时";
        case HttpFailure::Certificate: return "服务器证书被拒绝";
        case HttpFailure::TlsFailed: return "安全连接（TLS）握手失败";
        case HttpFailure::ConnectionReset:
        case HttpFailure::IncompleteBody:
        case HttpFailure::NotResent: return "连接中途断开";
        case HttpFailure::NoReply: return "服务器没有返回任何数据";
        default: return "网络错误";
    }
}

std::string Code(const DeliveryCause& cause)
{
    return cause.code ? "错误码 " + std::to_string(*cause.code) : std::string();
}

// UTF-8 words around the GBK detail: the detail goes in after the conversion.
std::string Reason(const Delivery& delivery, std::string& detail)
{
    const DeliveryCause& cause = delivery.cause;
    detail = cause.detail;
    if (delivery.outcome == Outcome::RateLimited) {
        const auto seconds = std::chrono::ceil<std::chrono::seconds>(delivery.wait).count();
        return "发送太频繁，服务器要求等待 " + std::to_string(seconds) + " 秒";
    }
    switch (cause.kind) {
        case FailureKind::Settings: return "设置无效：";
        case FailureKind::Transport: return TransportWords(cause.transport) + (detail.empty() ? "" : "：");
        case FailureKind::HttpStatus:
            return "服务器返回 HTTP " + std::to_string(cause.status) + (cause.code ? "，" + Code(cause) : "") +
                   (detail.empty() ? "" : "：");
        case FailureKind::Refused: return "服务器拒绝了消息，" + Code(cause) + (detail.empty() ? "" : "：");
        case FailureKind::BadAnswer: detail.clear(); return "无法读懂服务器的回答";
        case FailureKind::LoginDenied: detail.clear(); return "邮件服务器拒绝登录，请检查用户名和密码";
        case FailureKind::NoEncryption: detail.clear(); return "邮件服务器不支持加密连接（STARTTLS），邮件未发送";
        case FailureKind::MailRefused: return "邮件服务器拒绝（SMTP " + std::to_string(cause.status) + "）" +
                                              (detail.empty() ? "" : "：");
        case FailureKind::Cancelled: detail.clear(); return "已取消";
        case FailureKind::None: break;
    }
    detail.clear();
    return "已送达";
}

}  // namespace

std::string CauseText(const Delivery& delivery)
{
    std::string detail;
    const std::string reason = Reason(delivery, detail);
    const std::string host = delivery.cause.host.empty() ? "" : "（" + delivery.cause.host + "）";
    return gbk::FromUtf8(ChannelWords(delivery.cause.channel) + host + "：" + reason) + detail;
}

}  // namespace korvel::alerts
