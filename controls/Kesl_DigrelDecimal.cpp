#include "Kesl_DigrelDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

void Trim(TDecimal &d)
{
    const auto last = d.Digits.find_last_not_of('0');
    if (last == std::string::npos) {
        d.Digits.clear();
        d.Exp = 0;
        return;
    }
    d.Digits.erase(last + 1);
    const auto first = d.Digits.find_first_not_of('0');
    if (first > 0) {
        d.Digits.erase(0, first);
        d.Exp -= static_cast<int>(first);
    }
}

// Keeps the first keep digits (keep may be zero or negative), rounding on the next one.
void KeepDigits(TDecimal &d, long keep)
{
    const long len = static_cast<long>(d.Digits.size());
    if (d.IsZero() || keep >= len)
        return;
    if (keep < 0) {
        d.Digits.clear();
        d.Exp = 0;
        return;
    }
    const bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
    d.Digits.erase(static_cast<std::size_t>(keep));
    if (up) {
        long i = keep - 1;
        for (; i >= 0; --i) {
            char &c = d.Digits[static_cast<std::size_t>(i)];
            if (c == '9') {
                c = '0';
            } else {
                ++c;
                break;
            }
        }
        if (i < 0) {
            // Carried past the first digit (also when nothing was kept): one more place.
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exp;
        }
    }
    Trim(d);
}

} // namespace

TDecimal ToDecimal(double value)
{
    TDecimal d;
    d.Negative = std::signbit(value);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string s(buf, res.ptr);
    const auto e = s.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] != '.')
            d.Digits.push_back(s[i]);
    d.Exp = std::atoi(s.c_str() + e + 1) + 1;
    Trim(d);
    return d;
}

void RoundSignificant(TDecimal &d, int digits)
{
    KeepDigits(d, std::max(1, digits));
}

void RoundDecimals(TDecimal &d, int decimals)
{
    KeepDigits(d, static_cast<long>(d.Exp) + std::max(0, decimals));
}

std::string FixedText(const TDecimal &d, int decimals)
{
    decimals = std::max(0, decimals);
    std::string out;
    if (d.Negative && !d.IsZero())
        out.push_back('-');
    const long len = static_cast<long>(d.Digits.size());
    auto digit = [&](long i) { return i >= 0 && i < len ? d.Digits[static_cast<std::size_t>(i)] : '0'; };
    if (d.Exp <= 0) {
        out.push_back('0');
    } else {
        for (long i = 0; i < d.Exp; ++i)
            out.push_back(digit(i));
    }
    if (decimals > 0) {
        out.push_back('.');
        for (long i = 0; i < decimals; ++i)
            out.push_back(digit(d.Exp + i));
    }
    return out;
}

std::string FixedText(double value, int decimals)
{
    TDecimal d = ToDecimal(value);
    RoundDecimals(d, decimals);
    return FixedText(d, decimals);
}
