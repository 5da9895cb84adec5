#include "alerts/MailText.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "alerts/Digests.h"
#include "alerts/Utf8Cut.h"

namespace korvel::alerts {
namespace {

// 75 characters less "=?UTF-8?B?" and "?=" leave 63 for base64: 15 groups of 4 hold 45 bytes.
constexpr std::size_t WordBytes = 45;
constexpr std::size_t BodyLine = 76;

// RFC 5322 spells days and months in English whatever the process's locale says.
std::string DateText(std::chrono::system_clock::time_point now)
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", days[utc.tm_wday], utc.tm_mday,
                  months[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string CrLf(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n' && (out.empty() || out.back() != '\r'))
            out += '\r';
        out += c;
    }
    return out;
}

std::string Base64Lines(std::string_view bytes)
{
    const std::string encoded = Base64(bytes);
    std::string out;
    for (std::size_t at = 0; at < encoded.size(); at += BodyLine)
        out += encoded.substr(at, BodyLine) + "\r\n";
    return out;
}

std::string DomainOf(const std::string& address)
{
    return address.substr(address.find('@') + 1);
}

}  // namespace

bool IsMailAddress(std::string_view address)
{
    const std::size_t at = address.find('@');
    const bool printable = std::all_of(address.begin(), address.end(), [](char c) {
        return c > 0x20 && c < 0x7F && std::string_view("<>()[],;:\\\"").find(c) == std::string_view::npos;
    });
    return printable && at != std::string_view::npos && at > 0 && at + 1 < address.size() &&
           address.find('@', at + 1) == std::string_view::npos;
}

std::string EncodedWords(std::string_view utf8)
{
    std::string out;
    do {
        const std::string_view word = CutUtf8Bytes(utf8, WordBytes);
        // A character longer than a word (never in UTF-8) would otherwise stop the loop.
        const std::string_view taken = word.empty() ? utf8.substr(0, 1) : word;
        out += (out.empty() ? "" : "\r\n ") + std::string("=?UTF-8?B?") + Base64(taken) + "?=";
        utf8.remove_prefix(taken.size());
    } while (!utf8.empty());
    return out;
}

std::string MailText(const AlertMessage& message, const std::string& from, const std::vector<std::string>& to,
                     std::chrono::system_clock::time_point now)
{
    std::string recipients;
    for (const std::string& address : to)
        recipients += (recipients.empty() ? "" : ", ") + address;
    return "Date: " + DateText(now) + "\r\n" +
           "From: Korvel <" + from + ">\r\n" +
           "To: " + recipients + "\r\n" +
           "Subject: " + EncodedWords(message.title) + "\r\n" +
           "Message-ID: <" + RandomHex(16) + "." + message.deliveryId + "@" + DomainOf(from) + ">\r\n" +
           "X-Korvel-Delivery: " + message.deliveryId + "\r\n" +
           "MIME-Version: 1.0\r\n"
           "Content-Type: text/plain; charset=UTF-8\r\n"
           "Content-Transfer-Encoding: base64\r\n"
           "\r\n" +
           Base64Lines(CrLf(message.text));
}

}  // namespace korvel::alerts
