// What a screen reader and the keyboard get from the main window: names,
// descriptions and values from the loaded table, shortcuts shown in tooltips,
// a tab order through every control, and focus marks where Qt draws none.
#pragma once

#include <QList>
#include <QString>

class QWidget;

class TFrmMain;

// Everything below, plus Qt's own translation and the messages' translation
// for the window's table. Called once the window's texts are translated.
void InstallAccessAids(TFrmMain &frm);

// Names and descriptions of the window's controls, and the scroll bars' and
// the readouts' values as shown.
void NameControls(TFrmMain &frm);

// Shortcuts (F5, F6, F1, Ctrl+Q, Alt+1, Alt+2), the tooltips naming them and
// the tab order: chart, actions, distribution, location, width, About, Exit,
// description.
void InstallKeyboardAccess(TFrmMain &frm);

// Marks whichever of the controls has the focus (for controls whose style
// draws no focus of their own); the mark lives as long as owner.
void MarkFocus(QWidget *owner, const QList<QWidget *> &controls);

// What the chart shows now, in a sentence of the table's language; kept as
// the chart's accessible description by DescribeChart after every redraw.
QString ChartDescription(const TFrmMain &frm);
void DescribeChart(TFrmMain &frm);

// Opens the documentation page of the table's language (F1).
void OpenDocumentation(TFrmMain &frm);
