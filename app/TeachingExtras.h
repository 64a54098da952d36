// What the chart may show beside the samples, for teaching: each switched on
// from the chart's context menu or the command line.
#pragma once

struct TTeachingExtras
{
    bool DensityCurve = false; // the exact density over the histogram
    bool ShareOutside = false; // the share of samples beyond the histogram, counted and exact
    bool RunningMedian = false; // the median of the first n samples beside their mean
    bool LogY = false; // the histogram on a logarithmic y axis, to show the tails
    bool CompareOther = false; // the other distribution's density beside this one's
    int MeanOf = 0; // above 0: the histogram shows means of this many samples

    bool operator==(const TTeachingExtras &) const = default;
};
