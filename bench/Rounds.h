#pragma once

// Figures that repeat from one run of a benchmark to the next. A single timing of a few
// milliseconds swings with whatever else the machine does at that moment, by more than the
// differences a benchmark is meant to show. So what a benchmark compares is measured in rounds, each
// side once per round in turn (A, B, A, B, ...): a burst of load then weighs on every side alike. The
// rounds go on until every side has done enough work for its median to settle. A figure is the
// median of its rounds, a comparison the ratio of two medians, and a figure with a goal is printed
// with its spread over the rounds, (max - min) / median, as "<figure>_spread".

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace korvel::bench {

// One measurement of one side: the seconds its work took, negative when the work failed.
using Measure = std::function<double()>;

struct RoundsPlan {
    double minSecondsPerSide = 0.5;
    int minRounds = 5;
    int maxRounds = 5000;
};

// The values one side gave, round by round.
class Series {
public:
    Series() = default;
    explicit Series(std::vector<double> values) : values_(std::move(values)) {}

    void add(double value) { values_.push_back(value); }
    const std::vector<double>& values() const { return values_; }
    std::size_t rounds() const { return values_.size(); }

    double median() const
    {
        if (values_.empty())
            return 0;
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }

    double spread() const
    {
        const double m = median();
        if (values_.empty() || m == 0)
            return 0;
        const auto [low, high] = std::minmax_element(values_.begin(), values_.end());
        return (*high - *low) / m;
    }

private:
    std::vector<double> values_;
};

// The series `f` makes of each round's value of `a` and `b` (the same round of both sides).
template <typename F>
Series EachRound(const Series& a, const Series& b, F f)
{
    Series out;
    for (std::size_t i = 0; i < std::min(a.rounds(), b.rounds()); ++i)
        out.add(f(a.values()[i], b.values()[i]));
    return out;
}

template <typename F>
Series EachRound(const Series& a, F f)
{
    Series out;
    for (double v : a.values())
        out.add(f(v));
    return out;
}

// numerator / denominator, round by round: the rounds of a comparison's spread.
inline Series Quotients(const Series& numerator, const Series& denominator)
{
    return EachRound(numerator, denominator, [](double n, double d) { return n / d; });
}

inline double RatioOfMedians(const Series& numerator, const Series& denominator)
{
    return numerator.median() / denominator.median();
}

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Which clock a measurement reads. Other programs on the machine take the processor away in slices
// of a few milliseconds, which a wall clock counts as the benchmark's own time; the processor-time
// clocks count only what this process did. On a quiet machine they agree for work that never waits.
enum class Timing {
    Wall,        // what a user waits: for work that waits on timers or on another process
    ThreadCpu,   // the calling thread's processor time: work on this thread alone
    ProcessCpu,  // every thread of this process: a client and its local server on one CPU
};

inline double Seconds(Timing timing)
{
    timespec now{};
    clock_gettime(timing == Timing::Wall        ? CLOCK_MONOTONIC
                  : timing == Timing::ThreadCpu ? CLOCK_THREAD_CPUTIME_ID
                                                : CLOCK_PROCESS_CPUTIME_ID,
                  &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs every side once per round, in the order given, until each side's calls have lasted at least
// plan.minSecondsPerSide in all and plan.minRounds rounds have passed, or plan.maxRounds have.
// Nothing when a side failed: a figure from work that did not happen would only mislead.
inline std::optional<std::vector<Series>> Interleave(const std::vector<Measure>& sides,
                                                     const RoundsPlan& plan = {})
{
    std::vector<Series> series(sides.size());
    // What a side's work lasted, not what it reports: a batch of calls reports one call's time.
    std::vector<double> worked(sides.size(), 0.0);
    const auto settled = [&] {
        return std::all_of(worked.begin(), worked.end(),
                           [&](double seconds) { return seconds >= plan.minSecondsPerSide; });
    };
    for (int round = 0; round < plan.maxRounds && (round < plan.minRounds || !settled()); ++round) {
        for (std::size_t side = 0; side < sides.size(); ++side) {
            const auto start = std::chrono::steady_clock::now();
            const double value = sides[side]();
            worked[side] += SecondsSince(start);
            if (value < 0)
                return std::nullopt;
            series[side].add(value);
        }
    }
    return series;
}

// The seconds of one call of `work` (false = it failed) on the clock `timing`, timed over as many
// calls as fill about `batchSeconds`: a call of a few microseconds is finer than the clock and the
// scheduler let one time. The first call warms caches and sets the batch's size; it counts as a
// round of its own only when it alone filled a batch (a second of work is not worth doing twice).
inline Measure PerCall(std::function<bool()> work, double batchSeconds, Timing timing)
{
    return [work = std::move(work), batchSeconds, timing, calls = 0L]() mutable -> double {
        if (calls == 0) {
            const double start = Seconds(timing);
            if (!work())
                return -1;
            const double once = std::max(Seconds(timing) - start, 1e-9);
            calls = std::max(1L, static_cast<long>(batchSeconds / once));
            if (once >= batchSeconds)
                return once;
        }
        bool ok = true;
        const double start = Seconds(timing);
        for (long i = 0; i < calls; ++i)
            ok = work() && ok;
        const double seconds = (Seconds(timing) - start) / static_cast<double>(calls);
        return ok ? seconds : -1;
    };
}

// "name = value" with `decimals` places, and for a figure with a goal "name_spread = ...".
inline void PrintFigure(const char* name, double value, int decimals)
{
    std::printf("%s = %.*f\n", name, decimals, value);
}

inline void PrintGoalFigure(const char* name, double value, int decimals, const Series& rounds)
{
    PrintFigure(name, value, decimals);
    std::printf("%s_spread = %.3f\n", name, rounds.spread());
}

}  // namespace korvel::bench
