#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Helpers shared by the benchmarks: every figure is printed as "name: value unit".
namespace Bench {

struct Stats {
    double median = 0;
    double p95 = 0;
};

inline Stats stats(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    if (samples.empty())
        return {};
    const auto at = [&samples](double q) {
        const std::size_t i =
            std::min(samples.size() - 1, std::size_t(q * double(samples.size() - 1) + 0.5));
        return samples[i];
    };
    return {at(0.5), at(0.95)};
}

// Runs the work `runs` times and returns the times in milliseconds.
inline std::vector<double> timeRuns(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    ms.reserve(std::size_t(runs));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return ms;
}

inline void print(const char *name, double value, const char *unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace Bench
