#pragma once

#include <QString>

// Read-only access to the machine-wide settings of the textbook host: the
// INI file "Ostrel/quarvis.ini" in the system configuration directories
// (by default /etc/xdg; XDG_CONFIG_DIRS moves it). Nothing is ever written.
QString ReadHostSystemSetting(const QString &Key);

// The "ViewerHandle" value: the suffix of the host's endpoint, or empty.
QString ReadViewerHandle();
