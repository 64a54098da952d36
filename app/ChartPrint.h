// The chart on paper: one page with the window's title, a line naming what
// the chart shows, and the chart.
#pragma once

#include <QKeySequence>
#include <QString>

class QPrinter;
class TFrmMain;

// "Cauchy Distribution, location 0.00, width 1.00, 100000 samples, seed 7" in
// the table's language: what the chart shows, for a page's heading.
QString ChartContextLine(const TFrmMain &frm);

// The keys that print from anywhere in the window, the chart included.
QKeySequence PrintKeys();

// Prints one page on a printer already set up: the title and the line naming
// the distribution, location, width, sample count and seed on top, the chart
// below, scaled to the rest of the printable area at its own aspect ratio and
// centred. Empty on success, else a message for the user.
QString PrintChart(TFrmMain &frm, QPrinter *printer);

// Qt's print dialog, then the page above; a failure is shown in a message box.
void OpenPrintDialog(TFrmMain &frm);

// PrintKeys open the print dialog while the window is active.
void InstallPrintShortcut(TFrmMain &frm);
