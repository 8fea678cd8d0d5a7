#pragma once
// A small timing harness: each benchmark measures its subject and a baseline in the same run
// and reports the ratio against its goal, so a slow or noisy machine does not move the verdict.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace masumemo::bench {

/// The median of samples (reordered in place).
inline double median(std::vector<double>& samples)
{
    const auto middle = samples.begin() + static_cast<long>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

/// Median time of one call of fn in nanoseconds, over rounds of enough calls to last ~20 ms.
inline double medianNanos(const std::function<void()>& fn, int rounds = 15)
{
    using Clock = std::chrono::steady_clock;
    int calls = 1;
    for (;;) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i) {
            fn();
        }
        if (Clock::now() - start > std::chrono::milliseconds(20) || calls >= (1 << 20)) {
            break;
        }
        calls *= 2;
    }
    std::vector<double> samples;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i) {
            fn();
        }
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        samples.push_back(elapsed.count() / calls);
    }
    return median(samples);
}

/// The machine is shared: measures subject and baseline in turn a few times and keeps the best
/// of each, so a burst of load on one side does not decide the ratio. Returns both, in ns.
inline std::pair<double, double> bestOfAlternating(const std::function<void()>& subject,
                                                   const std::function<void()>& baseline)
{
    double bestSubject = 1e300;
    double bestBaseline = 1e300;
    for (int i = 0; i < 3; ++i) {
        bestSubject = std::min(bestSubject, medianNanos(subject, 7));
        bestBaseline = std::min(bestBaseline, medianNanos(baseline, 7));
    }
    return {bestSubject, bestBaseline};
}

/// For calls as short as one keystroke and its paint, where the load of a shared machine comes
/// and goes for longer than a block of calls: subject and baseline take turns call by call, each
/// going first every other turn, and each keeps the median of its times. Returns both, in ns.
inline std::pair<double, double> medianOfTurns(const std::function<void()>& subject,
                                               const std::function<void()>& baseline,
                                               int turns = 2000)
{
    using Clock = std::chrono::steady_clock;
    const auto timed = [](const std::function<void()>& fn) {
        const auto start = Clock::now();
        fn();
        return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    };
    std::vector<double> subjectTimes;
    std::vector<double> baselineTimes;
    for (int i = 0; i < turns; ++i) {
        if (i % 2 == 0) {
            subjectTimes.push_back(timed(subject));
            baselineTimes.push_back(timed(baseline));
        } else {
            baselineTimes.push_back(timed(baseline));
            subjectTimes.push_back(timed(subject));
        }
    }
    return {median(subjectTimes), median(baselineTimes)};
}

/// Prints one line: name, both times, the ratio and the goal. Returns whether the goal is met.
inline bool report(const std::string& name, double subjectNs, double baselineNs, double goal)
{
    const double ratio = subjectNs / baselineNs;
    const bool met = ratio <= goal;
    std::printf("%-52s %12.1f us %12.1f us  ratio %6.2f  goal <= %.1f  %s\n", name.c_str(),
                subjectNs / 1000.0, baselineNs / 1000.0, ratio, goal, met ? "met" : "MISSED");
    std::fflush(stdout);
    return met;
}

/// Prints a ratio that has no goal of its own, for information.
inline void reportInfo(const std::string& name, double subjectNs, double baselineNs)
{
    std::printf("%-52s %12.1f us %12.1f us  ratio %6.2f  (information)\n", name.c_str(),
                subjectNs / 1000.0, baselineNs / 1000.0, subjectNs / baselineNs);
    std::fflush(stdout);
}

/// Prints a figure that is not a ratio (memory, for instance).
inline bool reportValue(const std::string& name, double value, const char* unit, double goal)
{
    const bool met = value <= goal;
    std::printf("%-52s %12.2f %s  goal <= %.1f %s  %s\n", name.c_str(), value, unit, goal, unit,
                met ? "met" : "MISSED");
    std::fflush(stdout);
    return met;
}

}  // namespace masumemo::bench
