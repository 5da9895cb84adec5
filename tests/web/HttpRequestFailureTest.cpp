// Failures end in an empty body; the client's settings (time-outs, body limit, trust, reuse) hold.

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "HttpTestSupport.h"

namespace korvel::test {
namespace {

using std::chrono::seconds;

class HttpFailure : public HttpTest {};

TEST_F(HttpFailure, ARefusedConnectionGivesEmptyOutputsAndKeepsTheJar)
{
    const int closedPort = RawHttpServer([](const std::string&) { return Ok(""); }).port();
    std::string jar = "a=1;  b=2";
    std::string cookies = "stale";
    std::string location;
    std::string raw = "stale";
    const Bytes body = HttpRequest(
        "http://127.0.0.1:" + std::to_string(closedPort) + "/", 1,
        {.cookieJar = &jar, .returnedCookies = &cookies, .location = &location, .rawHeaders = &raw});
    EXPECT_EQ(body, "");
    EXPECT_EQ(raw, "");
    EXPECT_EQ(cookies, "");
    EXPECT_EQ(location, "");
    EXPECT_EQ(jar, "a=1; b=2");
}

TEST_F(HttpFailure, AServerThatNeverAnswersIsAbandoned)
{
    RawHttpServer silent([](const std::string&) { return std::nullopt; });
    SetTimeouts(seconds(5), seconds(1));
    EXPECT_EQ(HttpRequest("http://127.0.0.1:" + std::to_string(silent.port()) + "/wait"), "");
    EXPECT_EQ(silent.requests().size(), 1u);
}

TEST_F(HttpFailure, ABodyOverTheLimitIsAbandoned)
{
    std::string body(1000, 'b');
    RawHttpServer server([&body](const std::string&) { return Ok(body); });
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    SetMaxBodyBytes(1000);
    EXPECT_EQ(HttpRequest(url), body);
    body += 'x';
    EXPECT_EQ(HttpRequest(url), "");
    EXPECT_EQ(CurrentHttpSettings().maxBodyBytes, 1000u);
    ResetHttpSettings();
    EXPECT_EQ(CurrentHttpSettings().maxBodyBytes, std::size_t{256} << 20);
}

class HttpTls : public HttpTest {
protected:
    LocalServer server{true};
    std::set<int> clientPorts;
    std::mutex mutex;

    void SetUp() override
    {
        HttpTest::SetUp();
        server.http().Get("/n", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex);
            clientPorts.insert(req.remote_port);
            res.set_content(req.get_param_value("v"), "text/plain");
        });
        server.start();
        Route({server.connectTo("secure.taobao.com"), server.connectTo("secure.jd.com")});
    }
};

TEST_F(HttpTls, OnlyTrustedCertificatesForTheRightNameAreAccepted)
{
    SetExtraCaFile(std::string());
    EXPECT_EQ(HttpRequest("https://secure.taobao.com/n?v=1"), "")
        << "the throwaway CA is not in the system store";
    SetExtraCaFile(TestTls().caCert);
    EXPECT_EQ(HttpRequest("https://secure.taobao.com/n?v=2"), "2");
    EXPECT_EQ(HttpRequest("https://secure.jd.com/n?v=3"), "") << "the certificate does not name this host";
}

TEST_F(HttpTls, TheEnvironmentRoutesAndTrustsWhenCodeDoesNot)
{
    ResetHttpSettings();
    setenv("KORVEL_CONNECT_TO", server.connectTo("secure.taobao.com").c_str(), 1);
    setenv("KORVEL_CA_FILE", TestTls().caCert.c_str(), 1);
    EXPECT_EQ(HttpRequest("https://secure.taobao.com/n?v=env"), "env");
    unsetenv("KORVEL_CONNECT_TO");
    unsetenv("KORVEL_CA_FILE");
}

TEST_F(HttpTls, ConnectionsAreKeptForLaterRequestsUnlessForbidden)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(HttpRequest("https://secure.taobao.com/n?v=k"), "k");
    EXPECT_EQ(clientPorts.size(), 1u);

    clientPorts.clear();
    SetConnectionReuse(false);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(HttpRequest("https://secure.taobao.com/n?v=f"), "f");
    EXPECT_EQ(clientPorts.size(), 5u);
}

TEST_F(HttpTls, SeveralThreadsRequestAtOnce)
{
    std::vector<std::thread> threads;
    std::atomic<int> right = 0;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &right] {
            for (int i = 0; i < 25; ++i) {
                const std::string v = std::to_string(t * 100 + i);
                right += HttpRequest("https://secure.taobao.com/n?v=" + v) == v;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(right, 100);
}

}  // namespace
}  // namespace korvel::test
