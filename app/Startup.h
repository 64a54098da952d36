#pragma once

#include "CommandLine.h"

#include <QByteArray>
#include <QSizeF>

class QImage;

struct TMainParts;

// Puts the chosen distribution, location and width into the window's
// controls; done before the window is shown, so nothing is drawn twice.
void ApplyStartParameters(TMainParts &frm, const TStartOptions &options);

// After the start-up sequence: switches to the running-means view when asked,
// running the requested number of steps at once.
void ApplyStartView(TMainParts &frm, const TStartOptions &options);

// Renders the window as it looks after start-up into File (raw bytes of the
// name, kept as given); false with a message when it cannot be written.
bool SaveSnapshot(TMainParts &frm, const QByteArray &File, QString &error);

// Writes the chart alone to File (raw bytes of the name) as the chart menu's
// "Save picture…" does.
bool SaveExport(TMainParts &frm, const QByteArray &File, QString &error);

// Writes Picture to File in the format its extension names (PNG without one).
// The file is replaced only once the new one is complete, so a failure leaves
// an old file as it was; a path that exists but is not a regular file, and an
// unknown format, are refused. The message names the real cause.
bool WriteSnapshotImage(const QImage &Picture, const QByteArray &File, QString &error);

// Checks, before the framework starts, that the process may open the files
// it needs (a display connection, wake-up pipes of its threads, fonts) and
// has the memory a start takes; raises its own limits when the hard limits
// allow. Empty when it may, else the line that says why it cannot start.
QString CheckResourceLimits(bool Headless);
// The memory part again, once the window's size in device pixels is known.
QString CheckMemoryLimit(bool Headless, const QSizeF &Window);

// From now on a memory request that cannot be met, wherever it is made,
// ends the program with one line and exit status 1, not with an abort.
void EndWhenMemoryRunsOut();

// Ends a start-up that threw: one line on standard error and, for a window
// run, the message in an error box. Returns the exit status, 1.
int ReportStartFailure(int &argc, char **argv, bool Snapshot, const QString &Message);
