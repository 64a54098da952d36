#pragma once

#include <QByteArray>
#include <QString>

// Writes Bytes to File (raw bytes of the name, kept as given) through a
// sibling temporary file that is renamed over it once complete, so a failure
// leaves an old file as it was and no temporary file behind, also when a
// signal ends the program meanwhile. A link is followed to its picture; a
// path that exists but is not a regular file, a file its mode protects from
// writing (for root as well) and a file of several hard links are refused.
// The new file keeps the old file's owner, group and mode where the user may
// give them. False with the reason ("File too large", "Permission denied", ...).
bool ReplaceFile(const QByteArray &File, const QByteArray &Bytes, QString &error);
