// Everything that says in words what the chart shows, read from the model:
// the screen reader's description, a page's heading and context line, and the
// comment lines of a samples file.
#pragma once

#include "TextLookup.h"

class TSimulation;

// "Histogram of 10000 means of 10 samples each of the normal distribution, …;
// tallest bar …" with the extras that are on and the numbers a student reads off.
QString ChartDescription(const TSimulation &model, const TTextLookup &text);

// The distribution shown (both, when compared): a page's first line.
QString PageTitle(const TSimulation &model, const TTextLookup &text);
// "Cauchy Distribution, location 0.00, width 1.00, 100000 samples, seed 7"
// and the like for the other views: a page's second line.
QString ChartContextLine(const TSimulation &model, const TTextLookup &text);

// Fixed English words ("view: mean-of-n", "n: 10", "distribution: cauchy", …):
// a file for programs to read, whatever the window's language.
QStringList SamplesContext(const TSimulation &model);
// The view's name on the command line and in files.
QString ViewKeyword(const TSimulation &model);
