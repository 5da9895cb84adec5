// korvel-demo-shop: the demo shop as a program, for trying Korvel by hand and for scripts.

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "demo-shop/DemoShop.h"
#include "demo-shop/ShopFlags.h"
#include "demo-shop/SignIn.h"

namespace {

using korvel::demo::DemoShop;
using korvel::demo::ShopCommand;

std::string Variables(const DemoShop& shop, const ShopCommand& c)
{
    const std::string signIn = c.options.requireSignIn ? "," + shop.connectTo(korvel::demo::SignInHost) + "," +
                                                             shop.connectTo(korvel::demo::SignInJumpHost)
                                                       : "";
    return "KORVEL_CONNECT_TO=" + shop.connectTo(c.taobaoHost) + "," + shop.connectTo(c.tmallHost) + signIn +
           "\nKORVEL_CA_FILE=" + shop.caFile() + "\nKORVEL_DEMO_PORT=" + std::to_string(shop.port()) +
           "\nKORVEL_DEMO_TAOBAO_HOST=" + c.taobaoHost + "\nKORVEL_DEMO_TMALL_HOST=" + c.tmallHost + "\n";
}

// Written beside and renamed into place, so a script waiting for the file never reads half of it.
bool WriteEnvFile(const std::string& path, const std::string& text)
{
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush())
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(part, path, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv)
{
    const auto parsed = korvel::demo::ParseShopFlags({argv + 1, argv + argc});
    if (!parsed.command) {
        std::cerr << "korvel-demo-shop: " << parsed.error << "\n\n" << korvel::demo::ShopUsage;
        return 2;
    }
    const ShopCommand& c = *parsed.command;
    if (c.help) {
        std::cout << korvel::demo::ShopUsage;
        return 0;
    }
    // Every thread the shop starts inherits the blocked signals; only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DemoShop shop(c.options);
    if (!shop.start()) {
        std::cerr << "korvel-demo-shop: could not make TLS material or listen on 127.0.0.1\n";
        return 1;
    }
    const std::string variables = Variables(shop, c);
    if (!c.envFile.empty() && !WriteEnvFile(c.envFile, variables)) {
        std::cerr << "korvel-demo-shop: could not write " << c.envFile << "\n";
        return 1;
    }
    std::cout << "Korvel demo shop on https://127.0.0.1:" << shop.port() << " (" << c.options.pages
              << " pages, " << c.options.itemsPerPage << " items each)\n"
              << variables << "Shop hosts to type: " << c.taobaoHost << " (Taobao), " << c.tmallHost
              << " (Tmall)\nStop with Ctrl+C.\n"
              << std::flush;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    shop.stop();
    if (!c.envFile.empty())
        std::filesystem::remove(c.envFile);
    std::cout << "Demo shop stopped.\n";
    return 0;
}
