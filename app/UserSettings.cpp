#include "app/UserSettings.h"

#include <QSettings>

#include "platform/ErrorTexts.h"
#include "platform/KorvalaError.h"

namespace {

const QString kRootKey = QStringLiteral("Software\\Meridane");

QSettings openSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Meridane"));
}

// "Software\Meridane\Support" + "53" -> "Support/53"; keys outside the
// program's own root are kept whole under a group of their own name.
QString settingsPath(const QString& key, const QString& valueName)
{
    QString group = key;
    if (group.compare(kRootKey, Qt::CaseInsensitive) == 0)
        group.clear();
    else if (group.startsWith(kRootKey + u'\\', Qt::CaseInsensitive))
        group = group.mid(kRootKey.size() + 1);
    group.replace(u'\\', u'/');
    return group.isEmpty() ? valueName : group + u'/' + valueName;
}

}  // namespace

QString ReadUserString(const QString& key, const QString& valueName)
{
    QSettings settings = openSettings();
    const QVariant value = settings.value(settingsPath(key, valueName));
    if (!value.isValid())
        return QString();
    if (value.typeId() != QMetaType::QString)
        throw korvala::KorvalaError(korvala::invalidSettingTypeText(valueName.toStdString()));
    // A string value ends at its first NUL character.
    const QString text = value.toString();
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

bool WriteUserString(const QString& key, const QString& valueName, const QString& text)
{
    QSettings settings = openSettings();
    if (!settings.isWritable())
        return false;
    settings.setValue(settingsPath(key, valueName), text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString userSettingsFile()
{
    return openSettings().fileName();
}
