// The distribution the samples come from.
#pragma once

// The panel's settings when the window opens: the Cauchy distribution,
// location position 0 (0.0) and width position 100 (1.0).
inline constexpr int kStartDistribution = 1;
inline constexpr int kStartLocationPosition = 0;
inline constexpr int kStartWidthPosition = 100;

// The selected distribution and its parameters as the scroll bars give them.
#include <vector>

struct TSampleSource
{
    int Distribution; // 0 normal, 1 Cauchy, anything else: none
    int LocationPosition;
    int WidthPosition;
    double LocationValue;
    double WidthValue;

    static TSampleSource At(int distribution, int locationPosition, int widthPosition);
    static double LocationOf(int position) { return position / 10.0; }
    static double WidthOf(int position) { return position / 100.0; }

    // One sample from the shared generator; false (and nothing drawn) when no
    // distribution is selected.
    bool Draw(double &value) const;
    // The means of n samples each, Count of them drawn one after the other
    // into Out (resized); false (and Out left empty) when none is selected.
    bool DrawMeans(int n, int count, std::vector<double> &out) const;
};
