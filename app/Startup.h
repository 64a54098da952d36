#pragma once

#include "CommandLine.h"

class TFrmMain;

// Puts the chosen distribution, location and width into the window's
// controls; done before the window is shown, so nothing is drawn twice.
void ApplyStartParameters(TFrmMain &frm, const TStartOptions &options);

// After the start-up sequence: switches to the running-means view when asked,
// running the requested number of steps at once.
void ApplyStartView(TFrmMain &frm, const TStartOptions &options);

// Renders the window as it looks after start-up into a PNG file; false with a
// message when the file cannot be written.
bool SaveSnapshot(TFrmMain &frm, const QString &fileName, QString &error);
