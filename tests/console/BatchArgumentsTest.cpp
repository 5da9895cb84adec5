#include <gtest/gtest.h>

#include "console/Arguments.h"
#include "console/BatchArguments.h"

namespace korvel::console {
namespace {

using Args = std::vector<std::string>;

struct OptionsCase {
    const char* name;
    Args args;
    std::string error;  // a part of it; empty when the command is good
};

class BatchOptionCases : public testing::TestWithParam<OptionsCase> {};

TEST_P(BatchOptionCases, AreBadArguments)
{
    const OptionsCase& c = GetParam();
    const BatchArguments parsed = ParseBatchArguments(c.args, [](const char*) { return std::nullopt; });
    EXPECT_EQ(parsed.command.has_value(), c.error.empty()) << parsed.error;
    EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
}

const OptionsCase OptionsCases[] = {
    {"list_only", {"--batch", "shops.txt"}, ""},
    {"every_option",
     {"--batch=-", "--batch-id", "day", "--shard", "1/4", "--out", "o", "--jsonl", "-", "--store", "s", "--delay=0",
      "--retries", "5", "--fresh"},
     ""},
    {"a_shop_too", {"--batch", "l", "shop1.taobao.com"}, "not \"shop1.taobao.com\""},
    {"twice", {"--batch", "l", "--out", "a", "--out=b"}, "--out given twice"},
    {"retry_and_fresh", {"--batch", "l", "--fresh", "--retry-failed"}, "cannot be given together"},
    {"flag_with_value", {"--batch", "l", "--fresh=yes"}, "takes no value"},
    {"no_store", {"--batch", "l", "--no-store", "--out", "o"}, ""},
    {"no_store_and_store", {"--batch", "l", "--no-store", "--store", "s"}, "cannot both be given"},
    {"no_store_retry", {"--batch", "l", "--no-store", "--retry-failed"}, "keeps no progress"},
    {"no_store_value", {"--batch", "l", "--no-store=1"}, "takes no value"},
    {"single_shop_export", {"--batch", "l", "--csv", "x.csv"}, "not an option of a batch"},
    {"missing_value", {"--batch", "l", "--jsonl"}, "--jsonl needs a value"},
    {"empty_value", {"--batch="}, "--batch needs a value"},
    {"delay_words", {"--batch", "l", "--delay", "1s"}, "from 0 to 3600000"},
    {"delay_negative", {"--batch", "l", "--delay", "-1"}, "from 0 to 3600000"},
    {"retries_too_many", {"--batch", "l", "--retries", "101"}, "from 0 to 100"},
    {"bad_shard", {"--batch", "l", "--shard", "4/4"}, "from 0 to 3"},
    {"auto_shard_no_engine", {"--batch", "l", "--shard", "auto"}, "no array job"},
    {"bad_batch_id", {"--batch", "l", "--batch-id", std::string("a\tb")}, "control characters"},
};

INSTANTIATE_TEST_SUITE_P(Console, BatchOptionCases, testing::ValuesIn(OptionsCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(BatchOptions, ReadEveryValue)
{
    const auto environment = [](const char* name) -> std::optional<std::string> {
        return std::string(name) == "JOB_COMPLETION_INDEX" ? "2" : std::string(name) == "KORVEL_SHARD_COUNT" ? "3" : std::optional<std::string>();
    };
    const BatchArguments parsed =
        ParseBatchArguments({"--batch", "l.txt", "--shard=auto", "--jsonl=-", "--store", "postgresql://db/k",
                             "--delay", "250", "--retries=0", "--retry-failed"},
                            environment);
    ASSERT_TRUE(parsed.command) << parsed.error;
    const BatchCommand& c = *parsed.command;
    EXPECT_EQ(c.list, "l.txt");
    EXPECT_EQ(c.shard.index, 2u);
    EXPECT_EQ(c.shard.count, 3u);
    EXPECT_EQ(c.jsonLines, "-");
    EXPECT_EQ(c.store, "postgresql://db/k");
    EXPECT_EQ(c.delay, std::chrono::milliseconds(250));
    EXPECT_EQ(c.retries, 0);
    EXPECT_EQ(c.start, batch::BatchStart::RetryFailed);
    EXPECT_EQ(c.outFolder, std::nullopt);
    const BatchCommand defaults = *ParseBatchArguments({"--batch", "l"}, environment).command;
    EXPECT_EQ(defaults.delay, std::chrono::milliseconds(1000));
    EXPECT_EQ(defaults.shard.count, 1u);
    EXPECT_EQ(defaults.start, batch::BatchStart::Continue);
    EXPECT_FALSE(defaults.help);
    EXPECT_TRUE(ParseBatchArguments({"--batch", "-", "-h"}, environment).command->help);
}

// One reading of --delay and --retries: a single shop is refused in the batch's words.
TEST(PacingOptions, SameBoundsForOneShopAndABatch)
{
    const std::pair<Args, std::string> cases[] = {
        {{"--delay", ""}, "--delay takes a whole number from 0 to 3600000, not \"\""},
        {{"--delay", "3600001"}, "--delay takes a whole number from 0 to 3600000, not \"3600001\""},
        {{"--delay", "+5"}, "--delay takes a whole number from 0 to 3600000, not \"+5\""},
        {{"--retries=7x"}, "--retries takes a whole number from 0 to 100, not \"7x\""},
        {{"--retries", "1e2"}, "--retries takes a whole number from 0 to 100, not \"1e2\""},
    };
    for (const auto& [options, error] : cases) {
        Args single = {"shop1.taobao.com"};
        Args list = {"--batch", "l"};
        single.insert(single.end(), options.begin(), options.end());
        list.insert(list.end(), options.begin(), options.end());
        EXPECT_EQ(ParseArguments(single).error, error);
        EXPECT_EQ(ParseBatchArguments(list, [](const char*) { return std::nullopt; }).error, error);
    }
    const ParsedArguments parsed = ParseArguments({"shop1.taobao.com", "--delay=3600000", "--retries", "100"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    EXPECT_EQ(parsed.command->delay, std::chrono::milliseconds(3600000));
    EXPECT_EQ(parsed.command->retries, 100);
}

TEST(AsksForBatch, LooksAtOptionsOnly)
{
    EXPECT_TRUE(AsksForBatch({"--delay", "5", "--batch", "l"}));
    EXPECT_TRUE(AsksForBatch({"--batch=l"}));
    EXPECT_FALSE(AsksForBatch({"shop1.taobao.com", "--csv", "x"}));
    EXPECT_FALSE(AsksForBatch({"--", "--batch"}));
}

}  // namespace
}  // namespace korvel::console
