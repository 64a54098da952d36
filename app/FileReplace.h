#pragma once

#include <QByteArray>
#include <QString>

// Writes Bytes to File (raw bytes of the name, kept as given) through a
// sibling temporary file that is renamed over it once complete, so a failure
// leaves an old file as it was and no temporary file behind. A link is
// followed to its picture; a path that exists but is not a regular file, or
// is write-protected, is refused. The new file keeps the old file's mode.
// False with the system's reason ("File too large", "Permission denied", ...).
bool ReplaceFile(const QByteArray &File, const QByteArray &Bytes, QString &error);
