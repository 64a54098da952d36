#include "SystemSettings.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

QString ReadHostSystemSetting(const QString &Key)
{
    const QSettings settings(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("Ostrel"),
                             QStringLiteral("quarvis"));
    const QVariant value = settings.value(Key);
    // An unquoted INI value with commas reads as a list; the value is one string.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString ReadViewerHandle()
{
    return ReadHostSystemSetting(QStringLiteral("demon/ViewerHandle"));
}
