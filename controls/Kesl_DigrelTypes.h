#pragma once

/// @file
/// Enumerations of the numeric label. TAlignment and TColorScheme are shared
/// with other controls of the library, so they live in this small header.

/// Horizontal placement of a text.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

/// Choice of frame colours: black/white/grey or the system's button colours.
enum TColorScheme { csBWG, csSystem };

/// How a numeric label turns its value into text.
enum TDisplay {
    dtFloat,
    dtFixP,
    dtExp,
    dtHex,
    dtZeroInt,
    dtInt,
    dtDateTime,
    dtState,
    dtBin,
    dtOct,
    dtDeg,
    dtDegMin,
    dtDegMinSec,
    dtEEng,
    dtEEngNoDP
};
