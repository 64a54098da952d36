// The main window's tool-panel controls as the window designs them.
#pragma once

#include <QIcon>
#include <QRect>
#include <QString>

class QScrollBar;
class QToolButton;
class QWidget;
class TDigrel;

// Small glyphs drawn in code: an "i" in a blue disc and a door with an arrow.
QIcon AboutGlyph();
QIcon ExitGlyph();

// A flat speed button that takes the focus by Tab, not by a click; Space or
// Return presses it.
QToolButton *SpeedButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry);

// A horizontal scroll bar moved by one position per arrow, ten per page.
QScrollBar *ScrollBar(QWidget *parent, const char *name, int min, int max, int position, const QRect &geometry);

// NLabLoc and NLabWid differ only in place, caption and value.
TDigrel *NumericLabel(QWidget *parent, const char *name, const QString &leftText, int left, double value);
