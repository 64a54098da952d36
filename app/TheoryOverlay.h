// Theory drawn beside the samples on the main window's chart: the exact
// density over the histogram, the share of samples beyond it in a corner
// label, and the running median beside the running mean.
#pragma once

#include "Colors.h"
#include "Theory.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <span>
#include <vector>

class TKurvo;

// The distribution the samples come from.
struct TTheorySource
{
    TDistribution Distribution;
    double Location;
    double Width;
};

// The other of the two distributions at the same location and width.
TTheorySource OtherDistribution(const TTheorySource &source);

// The distribution of the mean of n samples of Source: the normal narrows
// with the square root of n, the Cauchy stays the same for every n.
TTheorySource MeanOfSamples(const TTheorySource &source, int n);

// A red polyline of one point per pixel column between the histogram's
// limits, on the axes the chart shows now (set the range first). The chart's
// data colour and line width are left as they were. Densities below Floor
// are drawn at Floor (a logarithmic axis has no zero).
void AddDensityCurve(TKurvo &rc, const TTheorySource &source, double floor = 0, TColor color = clRed);

// The arguments of the share-outside label text: the histogram's limits, the
// counted share and the exact one, both in percent with two decimals.
QStringList ShareOutsideArguments(const TTheorySource &source, int outside, int samples);

// The label in the chart's upper right corner; an empty text hides it.
void ShowCornerNote(TKurvo &rc, const QString &text);
// The legend in the chart's upper left corner; an empty text hides it.
void ShowLegend(TKurvo &rc, const QString &text);
// Puts the shown note and legend into their corners (set them, the items and
// the range first), and raises the y range's top where they would cover a bar
// or a curve; again whenever the chart changes its size.
void PlaceCornerNote(TKurvo &rc);

// Where the note and the legend go: each box in Plot's upper right or left
// corner, or under the boxes before it where it would meet one of them there.
// DataTop is the pixel row the data must be lowered to, below all boxes; 0
// when no box meets a rectangle of Data as it is.
struct TNoteSize
{
    QSize Size;
    bool Right;
};
struct TNotePlacement
{
    std::vector<QRect> Boxes; // one per note, in their order
    int DataTop = 0;
};
TNotePlacement PlaceNotes(const QRect &plot, const std::vector<TNoteSize> &notes, const std::vector<QRect> &data);
// The box a text label of the chart fills, in control pixels.
QRect LabelBox(const TKurvo &rc, int label);

// A green line through the median of the first 1, 2, … n samples at x = n.
// The chart's data colour and line width are left as they were.
void AddRunningMedian(TKurvo &rc, std::span<const double> samples);
