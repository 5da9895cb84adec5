// korvel-demo-shop as scripts use it: flags, the variables it hands out, a clean stop on SIGTERM.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "ShopWalk.h"
#include "collect/Pattern.h"
#include "demo-shop/ShopFlags.h"
#include "support/LocalServer.h"

namespace korvel::test {
namespace {

std::map<std::string, std::string> ReadVariables(const std::string& path)
{
    std::map<std::string, std::string> vars;
    std::istringstream in(ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            vars[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return vars;
}

pid_t Launch(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec: the test process has threads.
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int WaitExit(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ShopProgram, ServesUntilSigtermAndHandsOutWorkingVariables)
{
    const std::string dir = tools::MakeTempDir("korvel-demo-shop-test");
    const std::string envFile = dir + "/shop.env";
    const pid_t pid = Launch({KORVEL_DEMO_SHOP_PROGRAM, "--pages", "2", "--items", "4", "--host-taobao",
                              "demo.taobao.com", "--fail", "2:500", "--env-file", envFile});
    ASSERT_GT(pid, 0);
    for (int i = 0; i < 600 && !std::filesystem::exists(envFile); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto vars = ReadVariables(envFile);
    const std::string port = vars["KORVEL_DEMO_PORT"];
    EXPECT_EQ(vars["KORVEL_CONNECT_TO"],
              "demo.taobao.com:443:127.0.0.1:" + port + ",shop123.tmall.com:443:127.0.0.1:" + port);

    const ShopClient client(std::atoi(port.c_str()), vars["KORVEL_CA_FILE"], "demo.taobao.com");
    const Fetched first = client.taobaoPage(1);
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(FindAllMatches(Pattern("data-id"), first.body).size(), 4u);
    EXPECT_EQ(client.taobaoPage(2).status, 500);

    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
    EXPECT_FALSE(std::filesystem::exists(envFile));
    EXPECT_FALSE(std::filesystem::exists(vars["KORVEL_CA_FILE"])) << "the throwaway CA goes with the shop";
    std::filesystem::remove_all(dir);
}

TEST(ShopProgram, RefusesAWrongFlag)
{
    EXPECT_EQ(WaitExit(Launch({KORVEL_DEMO_SHOP_PROGRAM, "--fail", "2:teapot"})), 2);
}

TEST(ShopFlags, EveryFlagLandsInTheOptions)
{
    const auto parsed = demo::ParseShopFlags({"--port",
                                              "8443",
                                              "--pages",
                                              "7",
                                              "--items",
                                              "0",
                                              "--fail",
                                              "2:drop",
                                              "--fail",
                                              "3:login",
                                              "--page-count",
                                              "0",
                                              "--double-paging",
                                              "--market-prices",
                                              "alternate",
                                              "--no-sale-num",
                                              "1:4",
                                              "--upper-markers",
                                              "--no-asyn-link",
                                              "--delay-ms",
                                              "25",
                                              "--host-tmall",
                                              "t.tmall.com"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    const auto& o = parsed.command->options;
    EXPECT_EQ(o.port, 8443);
    EXPECT_EQ(o.pages, 7);
    EXPECT_EQ(o.itemsPerPage, 0);
    EXPECT_EQ(o.faults, (std::map<int, demo::PageFault>{{2, demo::PageFault::DropConnection},
                                                        {3, demo::PageFault::LoginPage}}));
    EXPECT_EQ(o.shownPageCount, "0");
    EXPECT_TRUE(o.doublePaging && o.upperCaseMarkers && o.omitAsynLink);
    EXPECT_EQ(o.marketPrices, demo::MarketPrices::Alternate);
    EXPECT_TRUE(o.withoutSaleNum.contains({1, 4}));
    EXPECT_EQ(o.delay, std::chrono::milliseconds(25));
    EXPECT_EQ(parsed.command->tmallHost, "t.tmall.com");

    for (const auto& bad : std::vector<std::vector<std::string>>{{"--pages"},
                                                                 {"--pages", "-1"},
                                                                 {"--items", "x"},
                                                                 {"--fail", "0:500"},
                                                                 {"--market-prices", "some"},
                                                                 {"--bogus"}})
        EXPECT_FALSE(demo::ParseShopFlags(bad).command) << bad[0];
}

}  // namespace
}  // namespace korvel::test
