#include "ViewRules.h"

bool ExtraAllowed(TView view, TExtra extra)
{
    const bool histogram = view != TView::RunningMeans;
    return extra == TExtra::RunningMedian ? !histogram : histogram;
}

bool ExtraOn(const TTeachingExtras &extras, TExtra extra)
{
    switch (extra) {
    case TExtra::DensityCurve: return extras.DensityCurve;
    case TExtra::ShareOutside: return extras.ShareOutside;
    case TExtra::RunningMedian: return extras.RunningMedian;
    case TExtra::LogY: return extras.LogY;
    case TExtra::CompareOther: return extras.CompareOther;
    }
    return false;
}

void SetExtraOn(TTeachingExtras &extras, TExtra extra, bool on)
{
    switch (extra) {
    case TExtra::DensityCurve: extras.DensityCurve = on; break;
    case TExtra::ShareOutside: extras.ShareOutside = on; break;
    case TExtra::RunningMedian: extras.RunningMedian = on; break;
    case TExtra::LogY: extras.LogY = on; break;
    case TExtra::CompareOther: extras.CompareOther = on; break;
    }
}

std::optional<TExtra> ForbiddenExtra(TView view, const TTeachingExtras &extras)
{
    for (const TExtra e :
         {TExtra::DensityCurve, TExtra::ShareOutside, TExtra::RunningMedian, TExtra::LogY, TExtra::CompareOther})
        if (ExtraOn(extras, e) && !ExtraAllowed(view, e))
            return e;
    return std::nullopt;
}
