#include "ViewMath.h"

long double HistogramDensity(int count, int samples)
{
    if (samples <= 0)
        return 0;
    return static_cast<long double>(count) / samples / kBinWidthExt;
}

double LogAxisLow(int samples)
{
    // Without samples any positive end will do; the axis shows no bar.
    return samples > 0 ? static_cast<double>(HistogramDensity(1, samples) / 2) : 1.0;
}

std::vector<THistogramBar> HistogramBars(std::span<const int> counts, int samples)
{
    std::vector<THistogramBar> bars;
    bars.reserve(counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const long double upper = static_cast<long double>(i + 1) * kBinWidthExt + kHistLow;
        bars.push_back({static_cast<double>(upper), static_cast<double>(HistogramDensity(counts[i], samples))});
    }
    return bars;
}

std::vector<double> RunningMeans(std::span<const double> samples)
{
    std::vector<double> means;
    means.reserve(samples.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        sum = static_cast<double>(sum + static_cast<long double>(samples[i]));
        means.push_back(static_cast<double>(sum / static_cast<long double>(i + 1)));
    }
    return means;
}
