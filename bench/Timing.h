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
    std::nth_element(samples.begin(), samples.begin() + rounds / 2, samples.end());
    return samples[static_cast<size_t>(rounds / 2)];
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
