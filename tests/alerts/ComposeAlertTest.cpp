#include <gtest/gtest.h>


#include "AlertTestSupport.h"
#include "alerts/ChannelSettings.h"
#include "alerts/ComposeAlert.h"
#include "text/Utf8.h"

namespace korvel::alerts {
namespace {

using namespace std::chrono_literals;
using test::Changed;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

bool IsChangeLine(const std::string& line)
{
    return line.starts_with("- ") || line.starts_with("· ");
}

bool WellFormed(const std::string& utf8)
{
    for (size_t at = 0; at < utf8.size();) {
        const Utf8Character c = NextUtf8(utf8, at);
        if (!c.wellFormed)
            return false;
        at += c.length;
    }
    return true;
}

struct CutCase {
    const char* name;
    int changes;
    Rendering rendering;
    size_t limit;
};

class Cut : public ::testing::TestWithParam<CutCase> {};

// Whatever the size, the text fits, stays well-formed, keeps whole lines, and the lines shown plus
// the count left out are every change.
TEST_P(Cut, KeepsWholeLinesAndCountsTheRest)
{
    const CutCase c = GetParam();
    const AlertMessage message = ComposeAlert(test::PriceReport(c.changes), {c.rendering, c.limit}, 8h);
    EXPECT_LE(message.text.size(), c.limit);
    EXPECT_TRUE(WellFormed(message.text));
    EXPECT_EQ(message.changes.size(), size_t(c.changes)) << "the rows stay whole";
    const std::vector<std::string> lines = Lines(message.text);
    int shown = 0;
    for (const std::string& line : lines) {
        if (IsChangeLine(line)) {
            ++shown;
            EXPECT_TRUE(line.ends_with("%）")) << "a cut line: " << line;
        }
    }
    const std::string& last = lines.back();
    const bool cut = last.starts_with("另有 ") && last.ends_with(" 项变化");
    if (shown == c.changes) {
        EXPECT_FALSE(cut);
    } else if (message.text.size() > 80) {  // a limit below the heading cuts the heading itself
        ASSERT_TRUE(cut) << message.text;
        EXPECT_EQ(shown + std::stoi(last.substr(std::string("另有 ").size())), c.changes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Cut,
    ::testing::Values(CutCase{"none", 0, Rendering::Markdown, 4096}, CutCase{"one", 1, Rendering::Plain, 4000},
                      CutCase{"all_fit", 30, Rendering::Markdown, 12000},
                      CutCase{"markdown_4096", 300, Rendering::Markdown, 4096},
                      CutCase{"plain_600", 300, Rendering::Plain, 600},
                      CutCase{"ten_thousand", 10000, Rendering::Plain, 4000},
                      CutCase{"heading_only", 50, Rendering::Markdown, 150},
                      CutCase{"inside_the_heading", 5, Rendering::Plain, 37},
                      CutCase{"one_byte_more", 5, Rendering::Plain, 38}),
    [](const auto& tested) { return std::string(tested.param.name); });

// Every channel's layout is respected, the WeCom robot's 4096 bytes included.
TEST(ChannelLayouts, MessagesFitEveryChannel)
{
    const ChannelSettings settings[] = {DingTalkSettings{}, WeComSettings{}, FeishuSettings{}, WebhookSettings{},
                                        EmailSettings{}};
    const ChangeReport report = test::PriceReport(5000);
    for (const ChannelSettings& one : settings) {
        const MessageLayout layout = MakeChannel(one)->layout();
        const AlertMessage message = ComposeAlert(report, layout, 8h);
        EXPECT_LE(message.text.size(), layout.limitBytes);
        EXPECT_GT(message.text.size(), layout.limitBytes - 400) << "the cut leaves room unused";
    }
    EXPECT_EQ(MakeChannel(WeComSettings{})->layout().limitBytes, 4096u);
}

std::vector<std::string> IdsInOrder(const std::string& text)
{
    std::vector<std::string> ids;
    const std::string open = "（ID ";
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        const size_t start = at + open.size();
        ids.push_back(text.substr(start, text.find("）", start) - start));
    }
    return ids;
}

TEST(ComposeAlert, GroupsByKindBiggestFirst)
{
    const ChangeReport report = test::Report({
        Changed(ChangeKind::Sold, "s1", "销量", "10", "20", "10", "100.00"),
        Changed(ChangeKind::New, "n1", "新品"),
        Changed(ChangeKind::Price, "p10", "涨一成", "100", "110", "10", "10.00"),
        Changed(ChangeKind::Price, "p-50", "半价", "100", "50", "-50", "-50.00"),
        Changed(ChangeKind::Price, "ptext", "面议", "面议", "99"),
        Changed(ChangeKind::Price, "p-5a", "小降", "200", "190", "-10", "-5.00"),
        Changed(ChangeKind::Price, "p-5b", "小降大额", "2000", "1900", "-100", "-5.00"),
        Changed(ChangeKind::Price, "p0", "原为零", "0", "12", "12"),
        Changed(ChangeKind::Lowest, "l1", "新低", "90", "80", "-10", "-11.11"),
        Changed(ChangeKind::Removed, "r1", "下架"),
    });
    const AlertMessage message = ComposeAlert(report, {Rendering::Markdown, 4096}, 8h);
    EXPECT_EQ(IdsInOrder(message.text),
              (std::vector<std::string>{"p0", "p-50", "p10", "p-5b", "p-5a", "ptext", "l1", "n1", "r1", "s1"}));
    EXPECT_NE(message.text.find("2024-05-01 10:30"), std::string::npos) << "the run's end at UTC+8";
    EXPECT_NE(message.text.find("（-50.00%）"), std::string::npos);
    EXPECT_NE(message.text.find("（+12）"), std::string::npos) << "from zero: the delta";
}

struct HostileTitle {
    const char* name;
    const char* title;
};

// A markup character without a backslash before it (a backslash escaping itself counts as text).
bool HasUnescapedMarkup(const std::string& line)
{
    for (size_t at = 2; at < line.size(); ++at) {
        if (line[at] == '\\')
            ++at;
        else if (std::string_view("[]()*_`|").find(line[at]) != std::string_view::npos)
            return true;
    }
    return false;
}

class Inert : public ::testing::TestWithParam<HostileTitle> {};

// A title cannot add a link, a picture, a mention, a tag or a line of its own.
TEST_P(Inert, TitleStaysText)
{
    const ChangeReport report = test::Report({Changed(ChangeKind::New, "1", GetParam().title)});
    for (const Rendering rendering : {Rendering::Markdown, Rendering::Plain}) {
        const std::string text = ComposeAlert(report, {rendering, 4096}, 8h).text;
        const std::string line = Lines(text).back();
        EXPECT_TRUE(IsChangeLine(line)) << "the title broke its line: " << text;
        EXPECT_EQ(line.find('<'), std::string::npos) << line;
        if (rendering == Rendering::Markdown) {
            EXPECT_FALSE(HasUnescapedMarkup(line)) << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Titles, Inert,
    ::testing::Values(HostileTitle{"link", "[点我领券](http://evil.example/)"},
                      HostileTitle{"picture", "![x](http://evil.example/a.png)"},
                      HostileTitle{"feishu_mention", "<at user_id=\"all\">所有人</at>"},
                      HostileTitle{"wecom_mention", "<@zhangsan> 速看"}, HostileTitle{"emphasis", "**爆款**_特价_"},
                      HostileTitle{"new_line", "好物\n# 假标题\n- 假条目"}, HostileTitle{"code", "`rm -rf`|表格|"},
                      HostileTitle{"escape", "反斜杠\\[仍是文字]"}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(ComposeAlert, DeliveryIdNamesTheComparison)
{
    const MessageLayout layout{Rendering::Plain, 4096};
    ChangeReport report = test::PriceReport(3);
    const std::string first = ComposeAlert(report, layout, 8h).deliveryId;
    EXPECT_EQ(ComposeAlert(report, {Rendering::Markdown, 500}, 0min).deliveryId, first) << "same run, other channel";
    report.after.number = 13;
    EXPECT_NE(ComposeAlert(report, layout, 8h).deliveryId, first);
    EXPECT_NE(TestAlert(layout).deliveryId, TestAlert(layout).deliveryId);
}

}  // namespace
}  // namespace korvel::alerts
