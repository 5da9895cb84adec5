#pragma once

// A group robot on 127.0.0.1 that checks what the real one checks (its key, its signature, the
// JSON's message type) and then plays the answers a test scripts for it, one per request.

#include <chrono>
#include <cstdlib>
#include <optional>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AlertTestSupport.h"

namespace korvel::test {

struct Answer {
    int status = 200;
    std::string body{};
    std::string retryAfter{};
};

struct Received {
    std::string body;
    std::chrono::steady_clock::time_point at;
};

class RobotStandIn {
public:
    // The check returns an error answer for a request the real service would refuse, or nothing.
    using Check = std::function<std::optional<Answer>(const httplib::Request&)>;

    RobotStandIn(const std::string& path, Check check, Answer fine) : check_(std::move(check)), fine_(std::move(fine))
    {
        server_.http().Post(path, [this](const httplib::Request& request, httplib::Response& response) {
            serve(request, response);
        });
        server_.start();
    }
    // The client's kept connection would hold the server's stop for its read timeout.
    ~RobotStandIn() { CloseIdleConnections(); }
    RobotStandIn(const RobotStandIn&) = delete;
    RobotStandIn& operator=(const RobotStandIn&) = delete;

    // Answers for the next requests, in order; after them, the fine answer.
    void script(std::vector<Answer> answers)
    {
        std::lock_guard lock(mutex_);
        script_.assign(answers.begin(), answers.end());
    }
    std::vector<Received> received() const
    {
        std::lock_guard lock(mutex_);
        return received_;
    }
    std::string url(const std::string& target) const { return server_.origin() + target; }

private:
    void serve(const httplib::Request& request, httplib::Response& response)
    {
        Answer answer = fine_;
        {
            std::lock_guard lock(mutex_);
            received_.push_back({request.body, std::chrono::steady_clock::now()});
            if (!script_.empty()) {
                answer = script_.front();
                script_.pop_front();
            }
        }
        if (request.get_header_value("Content-Type").find("application/json") != 0)
            answer = {400, "not json"};
        else if (const auto refused = check_(request))
            answer = *refused;
        response.status = answer.status;
        if (!answer.retryAfter.empty())
            response.set_header("Retry-After", answer.retryAfter);
        response.set_content(answer.body, "application/json");
    }

    Check check_;
    Answer fine_;
    mutable std::mutex mutex_;
    std::deque<Answer> script_;
    std::vector<Received> received_;
    LocalServer server_;
};

// DingTalk: access_token in the query; with a secret, timestamp (ms, within an hour) and sign =
// base64(HMAC-SHA256(secret, timestamp "\n" secret)) as query parameters.
inline std::unique_ptr<RobotStandIn> DingTalkRobot(const std::string& token, const std::string& secret)
{
    return std::make_unique<RobotStandIn>(
        "/robot/send",
        [=](const httplib::Request& request) -> std::optional<Answer> {
            if (request.get_param_value("access_token") != token)
                return Answer{200, R"({"errcode":300001,"errmsg":"token is not exist"})"};
            if (request.body.find(R"("msgtype":)") == std::string::npos)
                return Answer{200, R"({"errcode":40035,"errmsg":"missing msgtype"})"};
            if (secret.empty())
                return std::nullopt;
            const std::string timestamp = request.get_param_value("timestamp");
            const bool fresh = !timestamp.empty() && std::llabs(std::stoll(timestamp) / 1000 - NowSeconds()) < 3600;
            if (!fresh || request.get_param_value("sign") != Base64Of(Hmac(secret, timestamp + "\n" + secret)))
                return Answer{200, R"({"errcode":310000,"errmsg":"sign not match"})"};
            return std::nullopt;
        },
        Answer{200, R"({"errcode":0,"errmsg":"ok"})"});
}

// WeCom: key in the query, markdown only.
inline std::unique_ptr<RobotStandIn> WeComRobot(const std::string& key)
{
    return std::make_unique<RobotStandIn>(
        "/cgi-bin/webhook/send",
        [=](const httplib::Request& request) -> std::optional<Answer> {
            if (request.get_param_value("key") != key)
                return Answer{200, R"({"errcode":93000,"errmsg":"invalid webhook url"})"};
            if (request.body.find(R"("msgtype":"markdown")") == std::string::npos)
                return Answer{200, R"({"errcode":40008,"errmsg":"invalid message type"})"};
            return std::nullopt;
        },
        Answer{200, R"({"errcode":0,"errmsg":"ok"})"});
}

// The text of `"name":"…"` in a JSON body (no escapes inside); empty when absent.
inline std::string StringMember(const std::string& json, const std::string& name)
{
    const std::string key = "\"" + name + "\":\"";
    const size_t start = json.find(key);
    if (start == std::string::npos)
        return {};
    const size_t from = start + key.size();
    return json.substr(from, json.find('"', from) - from);
}

// Feishu: the token in the path; with a secret, "timestamp" (s, within an hour) and "sign" =
// base64(HMAC-SHA256 keyed with timestamp "\n" secret over nothing) in the body.
inline std::unique_ptr<RobotStandIn> FeishuRobot(const std::string& token, const std::string& secret)
{
    return std::make_unique<RobotStandIn>(
        "/open-apis/bot/v2/hook/" + token,
        [=](const httplib::Request& request) -> std::optional<Answer> {
            if (request.body.find(R"("msg_type":)") == std::string::npos)
                return Answer{200, R"({"code":9499,"msg":"Bad Request"})"};
            if (secret.empty())
                return std::nullopt;
            const std::string timestamp = StringMember(request.body, "timestamp");
            const std::string sign = StringMember(request.body, "sign");
            const bool fresh = !timestamp.empty() && std::llabs(std::stoll(timestamp) - NowSeconds()) < 3600;
            if (!fresh || sign != Base64Of(Hmac(timestamp + "\n" + secret, "")))
                return Answer{200, R"({"code":19021,"msg":"sign match fail or timestamp is not within one hour"})"};
            return std::nullopt;
        },
        Answer{200, R"({"code":0,"msg":"success","data":{}})"});
}

}  // namespace korvel::test
