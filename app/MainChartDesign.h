// The main window's chart as designed: margins, captions, scales, cross-hairs
// and background, set in the loading state and finished with Loaded.
#pragma once

class TKurvo;

void ApplyMainChartDesign(TKurvo &rc);
