// Where the main window goes on its screen, and the scale at which it fits.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QSizeF>

#include <memory>

class TApplication;

// The largest scale, not above Asked and in quarter steps, at which a window
// of Window pixels at scale 1 (frame included) fits into Available device
// pixels. Never below 1: a screen too small even for that gets scale 1.
double ScaleThatFits(const QSize &Available, const QSize &Window, double Asked);

// The most device pixels the window may take a side: more is no screen's,
// and the pictures made of it then stay well under a gigabyte.
inline constexpr int kMaxPictureSide = 8192;

// The device pixels of the main window at the ratio and text resolution the
// application object started with: the larger of each over all screens, as
// the window may move. An estimate made before the window exists.
QSizeF WindowDeviceSize();

// QT_SCALE_FACTOR's Factor lowered so that a window of Device pixels at it
// gets no side longer than kMaxPictureSide; Factor itself when it does not.
double FactorWithin(const QSizeF &Device, double Factor);

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
// exists, and the screen is known only then. All of Qt's scale and text
// resolution variables together never make the window larger than
// kMaxPictureSide a side: beyond, it is created again smaller, with a warning.
std::unique_ptr<TApplication> CreateApplicationThatFits(int &argc, char **argv);
TScaleFit StartScale();
