#pragma once

// Decimal digit work behind the numeric label's texts. Values are taken at their
// shortest round-trip decimal form and rounded there, halves away from zero, so
// 2.675 with two decimals reads 2.68 as a reader of the number expects.

#include <string>

struct TDecimal
{
    bool Negative = false;
    std::string Digits; // no leading or trailing zeros; empty for zero
    int Exp = 0; // |value| = 0.Digits x 10^Exp

    bool IsZero() const { return Digits.empty(); }
};

// The shortest decimal form of a finite value.
TDecimal ToDecimal(double value);

// Rounds to the given number of significant digits (at least 1).
void RoundSignificant(TDecimal &d, int digits);

// Rounds to the given number of decimals (at least 0).
void RoundDecimals(TDecimal &d, int decimals);

// Plain decimal form with exactly that many decimals, no point for 0, "-" only
// when the rounded value is not zero. The value must be finite.
std::string FixedText(double value, int decimals);

// The same for a decimal that is already rounded to that many decimals.
std::string FixedText(const TDecimal &d, int decimals);
