#pragma once

#include <QString>

#include <functional>

// What a link's target names. "http://" or "https://" in any letter case makes
// a web address; a target whose file name ends in ".exe" (any letter case) is a
// program file; anything else is neither. The file name is the part after the
// last "/" or "\", so "tools.exe/readme" is no program.
enum class TLinkTarget { None, WebAddress, Program };
TLinkTarget LinkTargetKind(const QString &target);

// Desktop shell "open".
//
// With no verb the target gets its default action: a web address opens in the
// browser, a program file is started with its parameters split as a shell
// would split them, and anything else is a document (a path or an address such
// as "file:///...#section") for its default viewer. The verb "open" always
// starts the target as a program. Returns 42 when the target was handed over,
// 2 when it could not be (a program that does not exist, an empty target, an
// unknown verb).
int ShellOpen(const QString &target, const QString &parameters = QString(), const QString &verb = QString());

// Tests replace the shell so that no browser opens and no program starts; the
// previous handler is returned. An empty handler restores the real shell.
using TShellOpenHandler = std::function<int(const QString &verb, const QString &target, const QString &parameters)>;
TShellOpenHandler SetShellOpenHandler(TShellOpenHandler handler);
