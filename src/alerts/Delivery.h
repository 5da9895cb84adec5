#pragma once

// How sending one alert through one channel ended, with the cause in words a user can act on. A
// cause names the channel and its server's host, never an address's path or query, a key, a
// token, a secret or a password: they are taken out of whatever a server or libcurl said.

#include <chrono>
#include <optional>
#include <string>

#include "web/HttpOutcome.h"

namespace korvel::alerts {

enum class ChannelKind { DingTalk, WeCom, Feishu, Webhook, Email };

enum class Outcome {
    Delivered,
    Failed,
    RateLimited,  // the server still refused for sending too often after the retries allowed
};

enum class FailureKind {
    None,
    Settings,      // the channel's settings cannot be used (see detail); nothing was sent
    Transport,     // no answer came (see transport)
    HttpStatus,    // the server answered with an error status (and maybe its own code)
    Refused,       // the robot answered with its own error code
    BadAnswer,     // the answer could not be read as the channel's answer
    LoginDenied,   // the mail server refused the user name or password
    NoEncryption,  // the mail server offered no STARTTLS
    MailRefused,   // the mail server refused the sender, a recipient or the message (status)
    Cancelled,
};

struct DeliveryCause {
    ChannelKind channel = ChannelKind::Webhook;
    std::string host;
    FailureKind kind = FailureKind::None;
    HttpFailure transport = HttpFailure::None;
    int status = 0;                 // the HTTP status or the mail server's reply code
    std::optional<long long> code;  // the robot's errcode or code
    std::string detail;             // GBK: the robot's errmsg, libcurl's words or the settings' fault
};

struct [[nodiscard]] Delivery {
    Outcome outcome = Outcome::Failed;
    DeliveryCause cause;              // Failed and RateLimited
    std::chrono::milliseconds wait{0};  // RateLimited: how long the server asked to be left alone
    int attempts = 0;                 // requests made, retries included
};

// "钉钉机器人（oapi.example.com）：服务器返回 HTTP 500" and the like, GBK.
std::string CauseText(const Delivery& delivery);

}  // namespace korvel::alerts
