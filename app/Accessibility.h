// What a screen reader and the keyboard get from the main window: names,
// descriptions and values from the loaded table, shortcuts shown in tooltips,
// a tab order through every control, and focus marks where Qt draws none.
#pragma once

#include <QList>
#include <QString>

class QWidget;

struct TMainParts;
class TvrxDemonClient;

// Everything below, plus Qt's own translation and the messages' translation
// for the window's table. Called once the window's texts are translated.
void InstallAccessAids(TMainParts &frm, TvrxDemonClient *client);

// Names and descriptions of the window's controls, and the scroll bars' and
// the readouts' values as shown.
void NameControls(TMainParts &frm);

// Shortcuts (F5, F6, F1, Ctrl+Q, Alt+1, Alt+2), the tooltips naming them and
// the tab order: chart, actions, distribution, location, width, About, Exit,
// description.
void InstallKeyboardAccess(TMainParts &frm);

// Marks whichever of the controls has the focus (for controls whose style
// draws no focus of their own); the mark lives as long as owner.
void MarkFocus(QWidget *owner, const QList<QWidget *> &controls);

// What the chart shows now, in a sentence of the table's language, as the
// chart's accessible description: DescribeChart after every redraw (during a
// run at most about twice a second), DescribeChartNow at once.
void DescribeChart(TMainParts &frm);
void DescribeChartNow(TMainParts &frm);

// Opens the documentation page of the table's language (F1).
void OpenDocumentation(TMainParts &frm);
