#include <gtest/gtest.h>

#include <map>

#include "batch/Shard.h"

namespace korvel::batch {
namespace {

TEST(Fnv1a64, MatchesThePublishedValues)
{
    EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325ULL);
    EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cULL);
    EXPECT_EQ(Fnv1a64("foobar"), 0x85944171f73967e8ULL);
    // Bytes above 0x7F count as unsigned.
    EXPECT_EQ(Fnv1a64("\xFF"), (0xcbf29ce484222325ULL ^ 0xFF) * 1099511628211ULL);
}

TEST(InShard, EveryHostInExactlyOneShard)
{
    for (std::uint64_t count : {1, 2, 4, 7}) {
        for (int n = 0; n < 50; ++n) {
            const std::string host = "shop" + std::to_string(n) + ".taobao.com";
            int owners = 0;
            for (std::uint64_t index = 0; index < count; ++index)
                owners += InShard(host, Shard{index, count}) ? 1 : 0;
            EXPECT_EQ(owners, 1) << host << " of " << count;
            EXPECT_TRUE(InShard(host, Shard{Fnv1a64(host) % count, count}));
        }
    }
}

using Variables = std::map<std::string, std::string>;

struct ShardCase {
    const char* name;
    std::string option;
    Variables variables;
    std::optional<Shard> shard;  // nothing: a bad argument
    std::string error = "";      // a part of the message
};

class ShardChoices : public testing::TestWithParam<ShardCase> {};

TEST_P(ShardChoices, FollowTheOptionAndTheEngine)
{
    const ShardCase& c = GetParam();
    const Environment environment = [&](const char* name) -> std::optional<std::string> {
        const auto found = c.variables.find(name);
        return found == c.variables.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
    const ShardChoice choice = ParseShard(c.option, environment);
    ASSERT_EQ(choice.shard.has_value(), c.shard.has_value()) << choice.error;
    if (c.shard) {
        EXPECT_EQ(choice.shard->index, c.shard->index);
        EXPECT_EQ(choice.shard->count, c.shard->count);
    } else {
        EXPECT_NE(choice.error.find(c.error), std::string::npos) << choice.error;
    }
}

const ShardCase ShardCases[] = {
    {"given", "2/4", {}, Shard{2, 4}},
    {"given_first", "0/1", {}, Shard{0, 1}},
    {"given_index_too_high", "4/4", {}, std::nullopt, "must be from 0 to 3"},
    {"given_zero_shards", "0/0", {}, std::nullopt, "from 1 to 1000000"},
    {"given_negative", "-1/4", {}, std::nullopt, "I/N"},
    {"given_no_count", "1", {}, std::nullopt, "I/N"},
    {"given_spaces", "1 /4", {}, std::nullopt, "I/N"},
    {"given_signs", "+1/4", {}, std::nullopt, "I/N"},
    {"given_extra", "1/4/5", {}, std::nullopt, "I/N"},
    {"given_huge", "0/99999999999999999999", {}, std::nullopt, "I/N"},
    {"slurm_count", "auto", {{"SLURM_ARRAY_TASK_ID", "3"}, {"SLURM_ARRAY_TASK_MIN", "1"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, Shard{2, 4}},
    {"slurm_max", "auto", {{"SLURM_ARRAY_TASK_ID", "7"}, {"SLURM_ARRAY_TASK_MIN", "5"}, {"SLURM_ARRAY_TASK_MAX", "8"}}, Shard{2, 4}},
    {"slurm_no_min", "auto", {{"SLURM_ARRAY_TASK_ID", "1"}, {"SLURM_ARRAY_TASK_MAX", "3"}}, Shard{1, 4}},
    {"slurm_all_agree", "auto",
     {{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_MIN", "0"}, {"SLURM_ARRAY_TASK_MAX", "3"},
      {"SLURM_ARRAY_TASK_COUNT", "4"}, {"SLURM_ARRAY_TASK_STEP", "1"}, {"KORVEL_SHARD_COUNT", "4"}},
     Shard{0, 4}},
    {"slurm_list_array", "auto",
     {{"SLURM_ARRAY_TASK_ID", "2"}, {"SLURM_ARRAY_TASK_MIN", "0"}, {"SLURM_ARRAY_TASK_MAX", "5"}, {"SLURM_ARRAY_TASK_COUNT", "3"}},
     std::nullopt, "disagrees"},
    {"slurm_step", "auto",
     {{"SLURM_ARRAY_TASK_ID", "2"}, {"SLURM_ARRAY_TASK_MAX", "6"}, {"SLURM_ARRAY_TASK_STEP", "2"}}, std::nullopt, "step"},
    {"slurm_no_id", "auto", {{"SLURM_ARRAY_TASK_MAX", "3"}}, std::nullopt, "SLURM_ARRAY_TASK_ID is not set"},
    {"slurm_no_size", "auto", {{"SLURM_ARRAY_TASK_ID", "1"}}, std::nullopt, "neither"},
    {"slurm_id_below_min", "auto",
     {{"SLURM_ARRAY_TASK_ID", "1"}, {"SLURM_ARRAY_TASK_MIN", "2"}, {"SLURM_ARRAY_TASK_MAX", "4"}}, std::nullopt, "below"},
    {"slurm_id_above_max", "auto",
     {{"SLURM_ARRAY_TASK_ID", "9"}, {"SLURM_ARRAY_TASK_MIN", "0"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, std::nullopt, "from 0 to 3"},
    {"slurm_not_a_number", "auto", {{"SLURM_ARRAY_TASK_ID", "x"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, std::nullopt, "not a whole number"},
    {"slurm_and_kubernetes_counts", "auto",
     {{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_COUNT", "4"}, {"KORVEL_SHARD_COUNT", "3"}}, std::nullopt, "disagrees"},
    {"both_engines", "auto",
     {{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_COUNT", "4"}, {"JOB_COMPLETION_INDEX", "0"}}, std::nullopt, "both"},
    {"kubernetes", "auto", {{"JOB_COMPLETION_INDEX", "5"}, {"KORVEL_SHARD_COUNT", "8"}}, Shard{5, 8}},
    {"kubernetes_no_count", "auto", {{"JOB_COMPLETION_INDEX", "5"}}, std::nullopt, "KORVEL_SHARD_COUNT is not set"},
    {"kubernetes_no_index", "auto", {{"KORVEL_SHARD_COUNT", "8"}}, std::nullopt, "JOB_COMPLETION_INDEX is not set"},
    {"kubernetes_index_too_high", "auto", {{"JOB_COMPLETION_INDEX", "8"}, {"KORVEL_SHARD_COUNT", "8"}}, std::nullopt, "from 0 to 7"},
    {"kubernetes_zero_count", "auto", {{"JOB_COMPLETION_INDEX", "0"}, {"KORVEL_SHARD_COUNT", "0"}}, std::nullopt, "from 1"},
    {"kubernetes_empty_count", "auto", {{"JOB_COMPLETION_INDEX", "0"}, {"KORVEL_SHARD_COUNT", ""}}, std::nullopt, "not a whole number"},
    {"no_engine", "auto", {}, std::nullopt, "no array job"},
};

INSTANTIATE_TEST_SUITE_P(Batch, ShardChoices, testing::ValuesIn(ShardCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace korvel::batch
