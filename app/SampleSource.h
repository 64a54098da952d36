// The distribution the samples come from.
#pragma once

#include "Theory.h"

#include <optional>
#include <vector>

class TRandomGenerator;

// The selected distribution and its parameters as the scroll bars give them.
struct TSampleSource
{
    std::optional<TDistribution> Distribution; // none selected: nothing is drawn
    int LocationPosition;
    int WidthPosition;
    double LocationValue;
    double WidthValue;

    static TSampleSource At(std::optional<TDistribution> distribution, int locationPosition, int widthPosition);
    static double LocationOf(int position) { return position / 10.0; }
    static double WidthOf(int position) { return position / 100.0; }

    // One sample from Generator; false (and nothing drawn) when no
    // distribution is selected.
    bool Draw(TRandomGenerator &generator, double &value) const;
    // The means of n samples each, Count of them drawn one after the other
    // into Out (resized); false (and Out left empty) when none is selected.
    bool DrawMeans(TRandomGenerator &generator, int n, int count, std::vector<double> &out) const;
};
