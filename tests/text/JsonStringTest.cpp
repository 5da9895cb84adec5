#include <gtest/gtest.h>

#include "text/JsonString.h"

namespace korvel {
namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string json;
};

class JsonEscapes : public testing::TestWithParam<EscapeCase> {};

TEST_P(JsonEscapes, KeepOneValidLine)
{
    std::string out;
    AppendJsonString(out, GetParam().text);
    EXPECT_EQ(out, GetParam().json);
}

const EscapeCase EscapeCases[] = {
    {"plain", "abc", "\"abc\""},
    {"empty", "", "\"\""},
    {"quote_backslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
    {"short_escapes", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
    {"other_controls", std::string("\x00\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\""},
    {"delete_kept", "\x7f", "\"\x7f\""},
    {"slash_kept", "a/b", "\"a/b\""},
    {"chinese", "\xE5\xBA\x97\xE9\x93\xBA", "\"\xE5\xBA\x97\xE9\x93\xBA\""},
    {"four_bytes", "\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
    {"last_code_point", "\xF4\x8F\xBF\xBF", "\"\xF4\x8F\xBF\xBF\""},
    {"lone_continuation", "a\x80z", "\"a\xEF\xBF\xBDz\""},
    {"gbk_bytes", "\xB5\xEA", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"overlong", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"overlong_three", "\xE0\x80\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"past_unicode", "\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    // A sequence cut short is one replacement, whatever follows it.
    {"cut_short", "\xE5\xBA", "\"\xEF\xBF\xBD\""},
    {"cut_short_four", "\xF0\x9F\x98z", "\"\xEF\xBF\xBDz\""},
    {"replacement_kept", "\xEF\xBF\xBD", "\"\xEF\xBF\xBD\""},
    {"cut_before_quote", "\xE5\"", "\"\xEF\xBF\xBD\\\"\""},
};

INSTANTIATE_TEST_SUITE_P(Text, JsonEscapes, testing::ValuesIn(EscapeCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace korvel
