// HTTPS: addresses, trust, the routing settings, kept connections and several threads at once.

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "HttpTestSupport.h"

namespace korvel::test {
namespace {

class HttpTls : public HttpTest {
protected:
    LocalServer server{true};
    std::set<int> clientPorts;
    std::mutex mutex;

    void SetUp() override
    {
        HttpTest::SetUp();
        server.http().Get("/(p|)", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.path + " for " + req.get_header_value("Host"), "text/plain");
        });
        server.http().Get("/n", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex);
            clientPorts.insert(req.remote_port);
            res.set_content(req.get_param_value("v"), "text/plain");
        });
        server.start();
        Route({server.connectTo("secure.taobao.com"), server.connectTo("secure.jd.com"),
               "secure.taobao.com:8443:127.0.0.1:" + std::to_string(server.port())});
    }
};

TEST_F(HttpTls, SecureAddressesTakeTheirPortAndPath)
{
    EXPECT_EQ(GetBody("https://Secure.Taobao.com:8443/p"), "/p for secure.taobao.com:8443");
    EXPECT_EQ(GetBody("https://secure.taobao.com"), "/ for secure.taobao.com");
}

TEST_F(HttpTls, OnlyTrustedCertificatesForTheRightNameAreAccepted)
{
    SetExtraCaFile(std::string());
    EXPECT_EQ(GetBody("https://secure.taobao.com/n?v=1"), "")
        << "the throwaway CA is not in the system store";
    SetExtraCaFile(TestTls().caCert);
    EXPECT_EQ(GetBody("https://secure.taobao.com/n?v=2"), "2");
    EXPECT_EQ(GetBody("https://secure.jd.com/n?v=3"), "") << "the certificate does not name this host";
}

TEST_F(HttpTls, TheEnvironmentRoutesAndTrustsWhenCodeDoesNot)
{
    ResetHttpSettings();
    setenv("KORVEL_CONNECT_TO", server.connectTo("secure.taobao.com").c_str(), 1);
    setenv("KORVEL_CA_FILE", TestTls().caCert.c_str(), 1);
    EXPECT_EQ(GetBody("https://secure.taobao.com/n?v=env"), "env");
    unsetenv("KORVEL_CONNECT_TO");
    unsetenv("KORVEL_CA_FILE");
}

TEST_F(HttpTls, ConnectionsAreKeptForLaterRequestsUnlessForbidden)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(GetBody("https://secure.taobao.com/n?v=k"), "k");
    EXPECT_EQ(clientPorts.size(), 1u);

    clientPorts.clear();
    SetConnectionReuse(false);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(GetBody("https://secure.taobao.com/n?v=f"), "f");
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
                right += GetBody("https://secure.taobao.com/n?v=" + v) == v;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(right, 100);
}

}  // namespace
}  // namespace korvel::test
