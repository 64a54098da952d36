#include "Theory.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool ValidWidth(double width)
{
    return width > 0 && std::isfinite(width);
}

// Probability of a value above x.
double UpperTail(TDistribution distribution, double location, double width, double x)
{
    const double z = (x - location) / width;
    if (distribution == TDistribution::Normal)
        return 0.5 * std::erfc(z / std::numbers::sqrt2);
    return 0.5 - std::atan(z) / std::numbers::pi;
}

} // namespace

double Density(TDistribution distribution, double location, double width, double x)
{
    if (!ValidWidth(width))
        return kNaN;
    const double z = (x - location) / width;
    if (distribution == TDistribution::Normal)
        return std::exp(-0.5 * z * z) / (width * std::sqrt(2 * std::numbers::pi));
    return 1 / (std::numbers::pi * width * (1 + z * z));
}

double DistributionFunction(TDistribution distribution, double location, double width, double x)
{
    if (!ValidWidth(width))
        return kNaN;
    // The lower tail is the upper tail of the mirrored value.
    return UpperTail(distribution, -location, width, -x);
}

double ShareOutside(TDistribution distribution, double location, double width, double low, double high)
{
    if (!ValidWidth(width))
        return kNaN;
    if (!(low <= high))
        return 1.0; // an empty window leaves everything outside
    return DistributionFunction(distribution, location, width, low) + UpperTail(distribution, location, width, high);
}
