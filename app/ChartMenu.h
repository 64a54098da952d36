// The context menu of the main window's chart: the teaching extras to switch
// on and off, and the chart's picture and samples to hand on.
#pragma once

class QMenu;
class QWidget;
struct TMainParts;

// Built afresh each time it opens, so its texts follow the loaded table and
// its checks the window's extras.
QMenu *CreateChartMenu(TMainParts &frm, QWidget *parent);

// A right-click on the chart opens the menu there; Shift+F10 and the menu
// key, on any control of the window, open it in the middle of the chart.
void InstallChartMenu(TMainParts &frm);
