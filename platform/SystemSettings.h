#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Read-only access to the machine-wide settings of the textbook host: the
// INI file "Ostrel/quarvis.ini" in the system configuration directories
// (by default /etc/xdg; XDG_CONFIG_DIRS moves it). Nothing is ever written.
// Only regular files of a sensible size are read, checked on what was opened
// (anything else, a FIFO or a device, counts as missing); when the read takes
// longer than DeadlineMs, there is no value.
inline constexpr int SystemSettingsDeadlineMs = 2000;
QString ReadHostSystemSetting(const QString &Key, int DeadlineMs = SystemSettingsDeadlineMs);

// The "ViewerHandle" value: the suffix of the host's endpoint, or empty.
QString ReadViewerHandle();

// Qt's own dialogs keep their state in the user's "QtProject.conf" and open
// it by its name, so that a FIFO there would hold them for ever. While an
// object of this class exists they use a private copy in the runtime
// directory instead: made from the file only when that is a regular file,
// and put back in its place at the end when a dialog changed it. Copies left
// by processes that ended are removed. Without a runtime directory the
// dialogs keep no state.
class TPrivateQtSettings
{
public:
    TPrivateQtSettings();
    ~TPrivateQtSettings();
    TPrivateQtSettings(const TPrivateQtSettings &) = delete;
    TPrivateQtSettings &operator=(const TPrivateQtSettings &) = delete;

private:
    QString m_file; // the user's file
    std::optional<QByteArray> m_read; // what it held; nothing when missing or not a regular file
    QString m_dir; // the copy's folder, "qt-settings-<process id>"; empty without one
};
