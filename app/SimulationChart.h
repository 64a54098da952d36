// The chart drawn from the model: the histogram (of samples or of means of n)
// with its theory, or the running means, in one paint.
#pragma once

#include "TextLookup.h"

class TKurvo;
class TSimulation;

// Draws the model's view on the chart; false (the chart kept as it was) when
// the histogram cannot be made.
bool DrawSimulation(TKurvo &rc, const TSimulation &model, const TTextLookup &text);
