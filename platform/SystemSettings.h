#pragma once

#include <QString>

// Read-only access to the machine-wide settings of the textbook host: the
// INI file "Ostrel/quarvis.ini" in the system configuration directories
// (by default /etc/xdg; XDG_CONFIG_DIRS moves it). Nothing is ever written.
// Only regular files of a sensible size are read: when any of the files
// looked at is something else (a FIFO, a device), or the read takes longer
// than DeadlineMs, there is no value.
inline constexpr int SystemSettingsDeadlineMs = 2000;
QString ReadHostSystemSetting(const QString &Key, int DeadlineMs = SystemSettingsDeadlineMs);

// The "ViewerHandle" value: the suffix of the host's endpoint, or empty.
QString ReadViewerHandle();
