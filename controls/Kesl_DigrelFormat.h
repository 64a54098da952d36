#pragma once

/// @file
/// How a numeric label turns its value into text.

#include "Kesl_DigrelTypes.h"

#include <QString>

#include <optional>

/// The settings of a numeric label that decide how its value reads.
struct TDigrelFormat
{
    /// How the value is written (default dtFixP, fixed decimals).
    TDisplay DisplayType = dtFixP;
    /// Digits, 0..15 (default 2): decimals, significant digits or exponent
    /// digits, as the display type reads it.
    int Precision = 2; // 0..15; meaning per display type
    /// Decimal separator "," instead of "." (default false).
    bool Comma = false;
    /// A "+" before positive values (default false).
    bool ForcePlusSign = false;
    /// The text shown by the state display type instead of a number (default "undefined").
    QString StateText = QStringLiteral("undefined");
    /// Shown when the value text does not fit or cannot be written (default nine asterisks).
    QString OverflowIndicator = QStringLiteral("*********");
    /// Pattern of the date/time display type (default "mmm-dd, yyyy").
    QString DTFormat = QStringLiteral("mmm-dd, yyyy");
};

/// The text a numeric label shows for value: the display type's form followed by
/// the separator and plus-sign rules. Values the display type cannot show give the
/// overflow indicator exactly as set (no sign or separator rule applies to it).
/// Decimal points are "." unless Comma asks for ",".
QString DigrelValueText(double value, const TDigrelFormat &format);

/// True when a value text of textWidth pixels does not fit a field labelWidth
/// pixels wide and must give way to the overflow indicator (never for state texts).
bool DigrelTextOverflows(int textWidth, int labelWidth, TDisplay type);
