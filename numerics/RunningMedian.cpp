#include "RunningMedian.h"

#include <cmath>
#include <limits>

void TRunningMedian::Add(double value)
{
    if (std::isnan(value))
        return;
    if (m_low.empty() || value <= m_low.top())
        m_low.push(value);
    else
        m_high.push(value);
    // Rebalance: the lower half holds the middle value of an odd count.
    if (m_low.size() > m_high.size() + 1) {
        m_high.push(m_low.top());
        m_low.pop();
    } else if (m_high.size() > m_low.size()) {
        m_low.push(m_high.top());
        m_high.pop();
    }
}

double TRunningMedian::Median() const
{
    if (m_low.empty())
        return std::numeric_limits<double>::quiet_NaN();
    if (m_low.size() > m_high.size())
        return m_low.top();
    return MiddleOfTwo(m_low.top(), m_high.top());
}

std::vector<double> RunningMedians(std::span<const double> values)
{
    std::vector<double> medians;
    medians.reserve(values.size());
    TRunningMedian median;
    for (const double v : values) {
        median.Add(v);
        medians.push_back(median.Median());
    }
    return medians;
}
