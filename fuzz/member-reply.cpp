// What goes to the back-end and what comes back: the reply to one member upload is whatever bytes
// the server sent, and the upload body must carry any GBK name or password across unharmed.
// Input: the reply as it is; cut at zero bytes, it is also the user name, the password and cells
// 2 to 17 of one member.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "members/MemberUploadBody.h"
#include "text/Encoding.h"

namespace korvel::fuzz {
namespace {

// An ASCII reply reads as strtoll reads it, clamped to 32 bits; the counters then take it once.
void CheckReply(const Bytes& body)
{
    const int reply = MemberUploadReply(body);
    UploadTally tally;
    tally.count(reply);
    Require(
        tally.failed == (reply < 1 ? 1 : 0) && tally.imported + tally.updated == (reply == 1 || reply == 2),
        "a reply is counted at most once, below 1 as failed");
    const std::string text = BytesToText(body);
    if (!IsAscii(text))
        return;
    Require(reply == StrtollClamped(text), "an ASCII reply reads as strtoll reads it");
}

int HexValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// The bytes a form value stands for, or "\x01invalid" when it is not form-encoded as FormEncode writes it.
std::string FormDecode(std::string_view value)
{
    std::string out;
    for (std::size_t at = 0; at < value.size(); ++at) {
        if (value[at] == '+') {
            out += ' ';
        } else if (value[at] != '%') {
            if (value[at] == '&' || value[at] == '=')
                return "\x01invalid";
            out += value[at];
        } else if (at + 2 < value.size() && HexValue(value[at + 1]) >= 0 && HexValue(value[at + 2]) >= 0) {
            out += static_cast<char>(HexValue(value[at + 1]) * 16 + HexValue(value[at + 2]));
            at += 2;
        } else {
            return "\x01invalid";
        }
    }
    return out;
}

// Every value arrives as the UTF-8 of what was typed, under its own key, in the order sent.
void CheckBody(const std::vector<std::string_view>& fields)
{
    MemberRecord member;
    for (int c = 1; c <= MemberFieldCount; ++c)
        member.cell(c) = Field(fields, static_cast<std::size_t>(c + 1));
    const std::string user = Field(fields, 0);
    const std::string password = Field(fields, 1);
    const std::vector<std::string> pairs = SplitText(BuildMemberUploadBody(member, user, password), "&");
    Require(pairs.size() == 7 + MemberFieldCount - 1, "the body holds one pair per field");
    std::vector<std::string> values{"1", "entry", "zqn_fxxt", "shopcollection", "5", user, password};
    for (int c = 2; c <= MemberFieldCount; ++c)
        values.push_back(member.cell(c));
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const std::size_t equals = pairs[k].find('=');
        Require(equals != std::string::npos, "every pair has a key");
        const std::string expected = BytesToText(GbkToUtf8(values[k]));
        Require(FormDecode(std::string_view(pairs[k]).substr(equals + 1)) == expected,
                "a value arrives as the UTF-8 of what was typed");
    }
    Require(FormDecode(FormEncode(user)) == user, "form encoding reads back");
}

}  // namespace
}  // namespace korvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korvel::fuzz;
    CheckReply(korvel::Bytes(reinterpret_cast<const char*>(data), size));
    CheckBody(Fields(data, size));
    return 0;
}
