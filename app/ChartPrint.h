// The chart on paper: one page with the window's title, a line naming what
// the chart shows, and the chart.
#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringList>

class QPrinter;
struct TMainParts;

// A page's heading in the table's language: the distribution shown, then a
// line naming location, width, sample count and seed.
QStringList PageHeading(const TMainParts &frm);

// The keys that print from anywhere in the window, the chart included.
QKeySequence PrintKeys();

// Prints one page on a printer already set up: the title and the line naming
// the distribution, location, width, sample count and seed on top, the chart
// below, scaled to the rest of the printable area at its own aspect ratio and
// centred. Empty on success, else a message for the user.
QString PrintChart(TMainParts &frm, QPrinter *printer);

// Qt's print dialog, then the page above; a failure is shown in a message box.
void OpenPrintDialog(TMainParts &frm);

// PrintKeys open the print dialog while the window is active.
void InstallPrintShortcut(TMainParts &frm);
