// The main window's chart as designed: margins, captions, scales, cross-hairs
// and background, set in the loading state and finished with Loaded.
#pragma once

class TKurvo;

void ApplyMainChartDesign(TKurvo &rc);

// The left margin a y axis needs for its widest tick label of Width pixels:
// never narrower than designed, so that no label is cut at the chart's edge.
int LeftMarginFor(int labelWidth);
// Gives the chart the left margin its y axis' tick labels need now (set the range first).
void FitLeftMargin(TKurvo &rc);
