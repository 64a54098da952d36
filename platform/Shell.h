#pragma once

#include <QString>

#include <functional>

// Desktop shell "open".
//
// With no verb the target gets its default action: a web address (a scheme
// such as "http:" or "https:") opens in the browser, anything else is started
// as a program with its parameters split as a shell would split them. The verb
// "open" always starts the target as a program. Returns 42 when the target was
// handed over, 2 when it could not be (a program that does not exist, an empty
// target, an unknown verb).
int ShellOpen(const QString &target, const QString &parameters = QString(), const QString &verb = QString());

// Tests replace the shell so that no browser opens and no program starts; the
// previous handler is returned. An empty handler restores the real shell.
using TShellOpenHandler = std::function<int(const QString &verb, const QString &target, const QString &parameters)>;
TShellOpenHandler SetShellOpenHandler(TShellOpenHandler handler);
