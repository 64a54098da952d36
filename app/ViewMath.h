// The arithmetic of the main window's two views, apart from the chart that
// draws them: the histogram's bars and the running means.
#pragma once

#include <span>
#include <vector>

// The histogram counts samples in bins of 0.1 from -20 to 20.
inline constexpr double kHistLow = -20.0;
inline constexpr double kHistHigh = 20.0;
inline constexpr double kBinWidth = 0.1;
// The bars are placed and scaled in extended precision, so their doubles are
// those of the extended arithmetic rounded once.
inline constexpr long double kBinWidthExt = 0.1L;

struct THistogramBar
{
    double X; // the bin's upper edge
    double Height; // the bin's density
};

// A count as a density over all samples, those outside the bins included
// (they lower the bars): count / samples / bin width; 0 without samples.
long double HistogramDensity(int count, int samples);

// The lower end of a logarithmic density axis: half the density of one
// sample in a bin, so that a bin holding one sample still shows a bar.
double LogAxisLow(int samples);

// One bar per bin, the first bin starting at kHistLow.
std::vector<THistogramBar> HistogramBars(std::span<const int> counts, int samples);

// The mean of the first 1, 2, … n samples, with the sums and their rounding
// of TVector::MeanVar, in one pass.
std::vector<double> RunningMeans(std::span<const double> samples);
