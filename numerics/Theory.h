// The exact distributions behind the samples, for drawing theory beside them.
#pragma once

enum class TDistribution { Normal, Cauchy };

// Density at x of the distribution with the given location and width (the
// normal's standard deviation, the Cauchy's half width at half maximum).
// A width that is not positive gives NaN.
double Density(TDistribution distribution, double location, double width, double x);

// Probability of a value below x (the distribution function); NaN for a width
// that is not positive.
double DistributionFunction(TDistribution distribution, double location, double width, double x);

// Probability of a value outside [low, high]. Both tails are computed on
// their own (erfc, atan), so a small share keeps its digits.
double ShareOutside(TDistribution distribution, double location, double width, double low, double high);
