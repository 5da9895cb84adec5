#pragma once

// Reports, and the signature arithmetic of the services done
// over OpenSSL directly, apart from the library's own, as the services do it on their side.

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <chrono>
#include <string>
#include <vector>

#include "store/HistoryReading.h"
#include "text/Gbk.h"
#include "web/HttpTestSupport.h"

namespace korvel::test {

// A change written in UTF-8, stored as the store keeps it (GBK).
inline Change Changed(ChangeKind kind, const std::string& id, const std::string& title,
                      std::optional<std::string> before = {}, std::optional<std::string> after = {},
                      std::optional<std::string> delta = {}, std::optional<std::string> percent = {})
{
    auto gbk = [](const std::optional<std::string>& text) {
        return text ? std::optional<std::string>(gbk::FromUtf8(*text)) : std::nullopt;
    };
    return {id, kind, gbk(before), gbk(after), delta, percent, gbk::FromUtf8(title)};
}

inline ChangeReport Report(std::vector<Change> changes, std::string host = "shop123.taobao.com")
{
    ChangeReport report;
    report.before.number = 11;
    report.after.number = 12;
    report.before.shopHost = report.after.shopHost = std::move(host);
    report.after.ended = std::chrono::system_clock::time_point(std::chrono::seconds(1714530600));  // 2024-05-01 02:30 UTC
    report.changes = std::move(changes);
    return report;
}

// `count` price changes with Chinese titles, percents 1.00 … count.00.
inline ChangeReport PriceReport(int count)
{
    std::vector<Change> changes;
    for (int i = 1; i <= count; ++i)
        changes.push_back(Changed(ChangeKind::Price, std::to_string(1000 + i), "夏季新款纯棉T恤第" + std::to_string(i) + "号",
                                  "100.00", std::to_string(100 + i) + ".00", std::to_string(i) + ".00",
                                  std::to_string(i) + ".00"));
    return Report(std::move(changes));
}

inline std::string Hmac(const std::string& key, const std::string& message)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    HMAC(EVP_sha256(), key.data(), int(key.size()), reinterpret_cast<const unsigned char*>(message.data()),
         message.size(), digest, &length);
    return std::string(reinterpret_cast<const char*>(digest), length);
}

inline std::string Base64Of(const std::string& bytes)
{
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                       reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
    out.resize(size_t(length));
    return out;
}

inline long long NowSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace korvel::test
