// The median of a growing stream of values, updated per value in logarithmic
// time: the lower half in a max-heap, the upper half in a min-heap.
#pragma once

#include <cstddef>
#include <functional>
#include <queue>
#include <span>
#include <vector>

class TRunningMedian
{
public:
    // A NaN has no place in an order and is skipped.
    void Add(double value);
    // The middle value, or the mean of the two middle values for an even
    // count; NaN before the first value.
    double Median() const;
    std::size_t Count() const { return m_low.size() + m_high.size(); }

private:
    std::priority_queue<double> m_low; // never smaller than m_high, at most one more
    std::priority_queue<double, std::vector<double>, std::greater<double>> m_high;
};

// The median of the first 1, 2, … n values.
std::vector<double> RunningMedians(std::span<const double> values);

// Of two middle values, their mean, halved first so that no sum overflows.
inline double MiddleOfTwo(double a, double b)
{
    return a / 2 + b / 2;
}
