#include "backend-stub/FlakyBackend.h"

#include "backend-stub/BackendStub.h"

namespace korvel::tools {
namespace {

std::string FromUser(const std::string& body)
{
    return ReceivedForm{DecodeForm(body), body}.value("from_user");
}

}  // namespace

FlakyBackend::FlakyBackend() : server_([this](const std::string& request) { return answer(request); }) {}

std::string FlakyBackend::host() const
{
    return "127.0.0.1:" + std::to_string(server_.port());
}

void FlakyBackend::script(const std::string& fromUser, std::vector<FaultReply> replies)
{
    std::lock_guard lock(mutex_);
    auto& queue = scripts_[fromUser];
    queue.insert(queue.end(), replies.begin(), replies.end());
}

void FlakyBackend::silenceAll()
{
    std::lock_guard lock(mutex_);
    silenceAll_ = true;
}

std::vector<std::string> FlakyBackend::bodies() const
{
    std::vector<std::string> bodies;
    for (const std::string& request : server_.requests()) {
        bodies.push_back(BodyOf(request));
    }
    return bodies;
}

std::vector<std::string> FlakyBackend::fromUsers() const
{
    std::vector<std::string> users;
    for (const std::string& body : bodies()) {
        users.push_back(FromUser(body));
    }
    return users;
}

int FlakyBackend::silentRequests() const
{
    std::lock_guard lock(mutex_);
    return silent_;
}

FaultReply FlakyBackend::answer(const std::string& request)
{
    const std::string user = FromUser(BodyOf(request));
    std::lock_guard lock(mutex_);
    auto& queue = scripts_[user];
    if (silenceAll_) {
        ++silent_;
        return FaultReply::Never();
    }
    if (queue.empty()) {
        return Reply("2");
    }
    FaultReply next = queue.front();
    queue.pop_front();
    return next;
}

}  // namespace korvel::tools
