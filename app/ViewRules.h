// Which extras each view of the simulation shows: the one rule that the
// command line and the chart's menu both ask.
#pragma once

#include "TeachingExtras.h"

#include <optional>

enum class TView { Histogram, RunningMeans, MeansOfN };
enum class TExtra { DensityCurve, ShareOutside, RunningMedian, LogY, CompareOther };

// The one rule of which extras a view shows: the density curve, the share
// outside and the comparison belong to the histograms, the logarithmic axis
// too (the means go below zero), the median to the running means.
bool ExtraAllowed(TView view, TExtra extra);
// The first extra Extras switches on that View does not show; none when all fit.
std::optional<TExtra> ForbiddenExtra(TView view, const TTeachingExtras &extras);
// Whether Extras switches Extra on.
bool ExtraOn(const TTeachingExtras &extras, TExtra extra);
void SetExtraOn(TTeachingExtras &extras, TExtra extra, bool on);
