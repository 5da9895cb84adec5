#pragma once

// Each channel's settings as plain values, and a channel made from any of them. Every member has
// an initializer, so that settings can name only the members they set.

#include <cstddef>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "alerts/Channel.h"
#include "alerts/Pacer.h"
#include "alerts/Retrying.h"

namespace korvel::alerts {

// A DingTalk group robot: the webhook as copied ("https://…/robot/send?access_token=…") and, when
// the robot signs, its secret ("SEC…").
struct DingTalkSettings {
    std::string webhook{};
    std::string secret{};
    Rendering rendering = Rendering::Markdown;
    // Long messages are hard to read in a group; the robot itself takes more.
    std::size_t limitBytes = 4000;
    PaceLimit pace{};
    RetryPolicy retry{};
};

// A WeCom group robot: "https://…/cgi-bin/webhook/send?key=…". It takes markdown of at most 4096
// bytes.
struct WeComSettings {
    std::string webhook{};
    PaceLimit pace{};
    RetryPolicy retry{};
};

// A Feishu custom bot: "https://…/open-apis/bot/v2/hook/…" and its signing secret, when set.
struct FeishuSettings {
    std::string webhook{};
    std::string secret{};
    bool richText = false;  // a "post" with a title instead of plain "text"
    // The bot refuses bodies over 20 KB; a post's framing grows with its lines.
    std::size_t limitBytes = 12000;
    PaceLimit pace{};
    RetryPolicy retry{};
};

// Any receiver of the operator's own (README: "Alerts to a webhook").
struct WebhookSettings {
    std::string url{};
    std::string secret{};  // signs each delivery; empty: unsigned
    std::size_t limitBytes = 64 * 1024;
    RetryPolicy retry{};
};

// E-mail through the operator's mail server: "smtp://host:587" (STARTTLS required),
// "smtps://host:465" (TLS from the start), or "smtp://127.0.0.1:25" (a relay on this computer,
// the only place plain SMTP may go).
struct EmailSettings {
    std::string server{};
    std::string user{};  // empty: no login
    std::string password{};
    std::string from{};
    std::vector<std::string> to{};
};

using ChannelSettings = std::variant<DingTalkSettings, WeComSettings, FeishuSettings, WebhookSettings, EmailSettings>;

std::unique_ptr<Channel> MakeChannel(const ChannelSettings& settings);

}  // namespace korvel::alerts
