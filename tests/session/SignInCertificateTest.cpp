// The sign-in window's check of a certificate its browser refused, with real certificates made by
// the openssl command: only a chain a CA of the file signed, for the host, valid now, is accepted.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "session/Cookie.h"
#include "session/SignInCertificate.h"
#include "support/ThrowawayTls.h"

namespace korvel::test {
namespace {

std::string Text(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

TEST(SignInCertificate, OnlyAChainTheFilesCaSignedForTheHostNow)
{
    const std::string dir = tools::MakeTempDir("korvel-signin-ca");
    std::filesystem::create_directory(dir + "/forger");
    // The forger's CA bears the same name as the trusted one; its leaf the same host.
    const auto trusted = tools::MakeThrowawayTls(dir, {"login.taobao.com"});
    const auto forged = tools::MakeThrowawayTls(dir + "/forger", {"login.taobao.com"});
    ASSERT_TRUE(trusted && forged) << "the openssl command made no certificates";
    const std::string ca = Text(trusted->caCert);
    const std::string issued = Text(trusted->serverCert);
    const std::int64_t now = UnixNow();
    const std::int64_t in31Days = now + 31 * 24 * 3600;  // the throwaway certificates last 30

    EXPECT_EQ(VerifyChain({issued}, ca, "login.taobao.com", now), ChainVerdict::Trusted);
    EXPECT_EQ(VerifyChain({issued, ca}, ca, "login.taobao.com", now), ChainVerdict::Trusted);
    EXPECT_EQ(VerifyChain({Text(forged->serverCert)}, ca, "login.taobao.com", now), ChainVerdict::Untrusted);
    EXPECT_EQ(VerifyChain({Text(forged->serverCert), Text(forged->caCert)}, ca, "login.taobao.com", now),
              ChainVerdict::Untrusted);
    EXPECT_EQ(VerifyChain({issued}, ca, "login.taobao.com.evil.example", now), ChainVerdict::WrongHost);
    EXPECT_EQ(VerifyChain({issued}, ca, "taobao.com", now), ChainVerdict::WrongHost);
    EXPECT_EQ(VerifyChain({issued}, ca, "login.taobao.com", in31Days), ChainVerdict::Expired);
    EXPECT_EQ(VerifyChain({issued}, "", "login.taobao.com", now), ChainVerdict::Unreadable);
    EXPECT_EQ(VerifyChain({"not a certificate"}, ca, "login.taobao.com", now), ChainVerdict::Unreadable);
    // A CA is no server: presenting the CA itself is not a certificate for the host.
    EXPECT_NE(VerifyChain({ca}, ca, "login.taobao.com", now), ChainVerdict::Trusted);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvel::test
