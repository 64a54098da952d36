// Sets one of the chart's flags for a scope and gives the old value back when
// the scope ends, on every path out of it.
#pragma once

class TFlagScope
{
public:
    TFlagScope(bool &flag, bool value) : m_flag(flag), m_saved(flag) { flag = value; }
    ~TFlagScope() { m_flag = m_saved; }
    TFlagScope(const TFlagScope &) = delete;
    TFlagScope &operator=(const TFlagScope &) = delete;
    bool Saved() const { return m_saved; }

private:
    bool &m_flag;
    bool m_saved;
};
