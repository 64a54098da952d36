// Where the main window goes on its screen, and the scale at which it fits.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>

class TApplication;

// The largest scale, not above Asked and in quarter steps, at which a window
// of Window pixels at scale 1 (frame included) fits into Available device
// pixels. Never below 1: a screen too small even for that gets scale 1.
double ScaleThatFits(const QSize &Available, const QSize &Window, double Asked);

// The top-left corner for Window inside Available: where it is when it lies
// inside, else moved as little as it takes; at the area's top-left corner in
// a direction where it is larger than the area.
QPoint PlaceInside(const QRect &Available, const QRect &Window);

// The scale a projector asked for (QT_SCALE_FACTOR, set by --scale) and the
// one the window is drawn at.
struct TScaleFit
{
    double Asked = 1;
    double Used = 1;
};

// Creates the application object at the asked scale. When the main window
// would not fit into the free area of the primary screen at it, creates it
// again at the largest scale that fits: the scale is fixed once the object
// exists, and the screen is known only then.
std::unique_ptr<TApplication> CreateApplicationThatFits(int &argc, char **argv);
TScaleFit StartScale();
