#include "members/MemberUploadBody.h"

#include <array>

#include "text/Encoding.h"

namespace korvel {

namespace {

// The keys of cells 2 to 17, in the order the back-end expects them after the account.
constexpr std::array<const char*, 16> CellKeys = {"from_user",   "from_user_b",    "realname",   "gender",
                                                  "mobile",      "email",          "pwd",        "credit2",
                                                  "credit1",     "follow",         "status",     "flag",
                                                  "nationality", "resideprovince", "residecity", "avatar"};

bool StaysAsIs(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' ||
           c == '-' || c == '.' || c == '_';
}

void AddField(std::string& body, const char* key, std::string_view gbkValue)
{
    if (!body.empty()) {
        body += '&';
    }
    body += key;
    body += '=';
    body += FormEncode(BytesToText(GbkToUtf8(gbkValue)));
}

}  // namespace

std::string FormEncode(std::string_view bytes)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (StaysAsIs(c)) {
            encoded += byte;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += Hex[c >> 4];
            encoded += Hex[c & 0x0F];
        }
    }
    return encoded;
}

std::string BuildMemberUploadBody(const MemberRecord& member, const std::string& userName,
                                  const std::string& password, const std::string& accountId)
{
    std::string body;
    body.reserve(512);
    AddField(body, "i", accountId);
    AddField(body, "c", "entry");
    AddField(body, "m", "zqn_fxxt");
    AddField(body, "do", "shopcollection");
    AddField(body, "login", "5");
    AddField(body, "username", userName);
    AddField(body, "password", password);
    for (int c = 2; c <= MemberFieldCount; ++c) {
        AddField(body, CellKeys[c - 2], member.cell(c));
    }
    return body;
}

int MemberUploadReply(const Bytes& body)
{
    return ToInteger(BytesToText(body));
}

void UploadTally::count(int reply)
{
    if (UploadFailed(reply)) {
        ++failed;
    } else if (reply == 1) {
        ++imported;
    } else if (reply == 2) {
        ++updated;
    }
}

}  // namespace korvel
