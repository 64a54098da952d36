#pragma once

#include <QString>

// Desktop shell "open": a web address opens in the browser; anything else is
// started as a program with its parameters split as a shell would split them.
// Returns 42 when the target was handed over, 2 when it could not be.
int ShellOpen(const QString &target, const QString &parameters = QString());
