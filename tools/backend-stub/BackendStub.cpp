#include "backend-stub/BackendStub.h"

#include <httplib.h>

#include <algorithm>
#include <stdexcept>

namespace korvel::tools {

std::string ReceivedForm::value(const std::string& key) const
{
    for (const auto& [k, v] : fields) {
        if (k == key) {
            return v;
        }
    }
    return {};
}

bool ReceivedForm::has(const std::string& key) const
{
    return std::any_of(fields.begin(), fields.end(), [&](const auto& field) { return field.first == key; });
}

BackendStub::BackendStub(std::string userName, std::string password)
    : userName_(std::move(userName)), password_(std::move(password)), server_(std::make_unique<httplib::Server>())
{
    route();
}

BackendStub::BackendStub(std::string userName, std::string password, const std::string& certFile,
                         const std::string& keyFile)
    : userName_(std::move(userName)),
      password_(std::move(password)),
      server_(std::make_unique<httplib::SSLServer>(certFile.c_str(), keyFile.c_str()))
{
    route();
}

void BackendStub::route()
{
    server_->set_tcp_nodelay(true);
    server_->set_keep_alive_max_count(1000000);
    // stop() waits for every open connection to idle out; clients keep theirs open between requests.
    server_->set_keep_alive_timeout(1);
    server_->Post("/app/index.php", [this](const httplib::Request& request, httplib::Response& response) {
        response.set_content(answer(request.body), "text/html");
    });
}

BackendStub::~BackendStub()
{
    stop();
}

void BackendStub::start()
{
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("the back-end stub could not bind a port on 127.0.0.1");
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only ends a loop that has begun.
    while (!server_->is_running()) {
        std::this_thread::yield();
    }
}

void BackendStub::stop()
{
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

std::string BackendStub::host() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

void BackendStub::scriptReplies(std::vector<std::string> bodies)
{
    std::lock_guard lock(mutex_);
    scripted_.insert(scripted_.end(), bodies.begin(), bodies.end());
}

void BackendStub::setRecording(bool recording)
{
    std::lock_guard lock(mutex_);
    recording_ = recording;
}

std::vector<ReceivedForm> BackendStub::members() const
{
    std::lock_guard lock(mutex_);
    return members_;
}

int BackendStub::requestCount() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string BackendStub::answer(const std::string& body)
{
    ReceivedForm form{DecodeForm(body), body};
    std::lock_guard lock(mutex_);
    ++requests_;
    const bool accountOk = form.value("username") == userName_ && form.value("password") == password_;
    const char* reply = accountOk ? "2" : "-1";
    if (accountOk) {
        const std::string user = form.value("from_user");
        const bool seen = std::find(seenUsers_.begin(), seenUsers_.end(), user) != seenUsers_.end();
        if (seen) {
            reply = "1";
        } else if (recording_) {
            seenUsers_.push_back(user);
        }
        if (recording_) {
            members_.push_back(std::move(form));
        }
    }
    if (scripted_.empty()) {
        return reply;
    }
    std::string scripted = std::move(scripted_.front());
    scripted_.pop_front();
    return scripted;
}

}  // namespace korvel::tools
