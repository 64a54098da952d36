#pragma once

#include "Kesl_DigrelTypes.h"

#include <QString>

#include <optional>

// The settings of a numeric label that decide how its value reads.
struct TDigrelFormat
{
    TDisplay DisplayType = dtFixP;
    int Precision = 2; // 0..15; meaning per display type
    bool Comma = false;
    bool ForcePlusSign = false;
    QString StateText = QStringLiteral("undefined");
    QString OverflowIndicator = QStringLiteral("*********");
    QString DTFormat = QStringLiteral("mmm-dd, yyyy");
};

// The text a numeric label shows for value: the display type's form followed by
// the separator and plus-sign rules. Values the display type cannot show give the
// overflow indicator exactly as set (no sign or separator rule applies to it).
// Decimal points are "." unless Comma asks for ",".
QString DigrelValueText(double value, const TDigrelFormat &format);

// True when a value text of textWidth pixels does not fit a field labelWidth
// pixels wide and must give way to the overflow indicator (never for state texts).
bool DigrelTextOverflows(int textWidth, int labelWidth, TDisplay type);
