#pragma once

#include "Kesl_ScaleTicks.h"

// Collects the ticks of one pass and enforces kMaxPassTicks: once the cap is
// reached, Add refuses further ticks and marks the result as capped, so the
// pass loops can end on its answer.
class TTickSink
{
public:
    explicit TTickSink(TScaleTickResult &result) : m_r(result) { }

    bool Full() const { return int(m_r.Ticks.size()) >= kMaxPassTicks; }

    bool Add(TScaleTick tick)
    {
        if (Full()) {
            m_r.Capped = true;
            return false;
        }
        m_r.Ticks.push_back(std::move(tick));
        return true;
    }

private:
    TScaleTickResult &m_r;
};

// Floor division remainder, never negative for a positive divisor.
inline long long FloorMod(long long a, long long b)
{
    const long long m = a % b;
    return m < 0 ? m + b : m;
}

// A separator character quoted for the date/time pattern language.
QString QuotedSeparator(QChar c);
