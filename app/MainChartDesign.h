// The main window's chart as designed: margins, captions, scales, cross-hairs
// and background, set in the loading state and finished with Loaded.
#pragma once

class TKurvo;

void ApplyMainChartDesign(TKurvo &rc);

// Gives the chart the left margin its y axis' tick labels need now (set the
// range first): never narrower than designed, and no label cut at the edge.
void FitLeftMargin(TKurvo &rc);
