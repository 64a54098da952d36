// Reading what another program or user may have put where a file is
// expected, without ever blocking on it, and naming a path in a message.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The whole contents of Path when it is a regular file of at most MaxBytes;
// nothing when it is missing, something else (a FIFO, a device, a folder)
// or larger. The check is made on what was opened, so a file swapped for a
// FIFO in between is never read. A link is followed when FollowLinks is true.
std::optional<QByteArray> ReadRegularFile(const QByteArray &Path, qint64 MaxBytes, bool FollowLinks = true);

// Path as it is shown in a message: a long one keeps its start and its end
// with "…" between, so that a message stays a line or two.
QString ShownPath(const QString &Path);
