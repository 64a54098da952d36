#pragma once

/// @file
/// Enumerations shared by the tick passes, the scale control and the chart.

/// Side of the scale on which ticks and labels lie: horizontal scales with
/// ticks above (XB) or below (XT) the base line, vertical ones with ticks to the
/// right (YL) or left (YR) of it.
enum TScaleType { sctXB, sctXT, sctYL, sctYR };

/// What the long ticks are labelled with.
enum TFigType { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };

/// Where a scale caption is anchored along the scale.
enum TScaleUnitAnchor { uaSclTopLft, uaSclCenter, uaSclBotRgt };
