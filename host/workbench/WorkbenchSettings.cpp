#include "WorkbenchSettings.h"

#include "HostTranslator.h"

#include <QSettings>

namespace {
const char* const languageKey = "language";
const char* const geometryKey = "window/geometry";
const char* const stateKey = "window/state";
} // namespace

namespace WorkbenchSettings {

QString startLanguage(const QString& commandLine)
{
    if (!commandLine.isEmpty())
        return commandLine;
    // A language this build no longer has is not worth a warning at every start.
    const QString remembered = QSettings().value(languageKey).toString();
    return hostLanguages().contains(remembered) ? remembered : QString("en");
}

void rememberLanguage(const QString& language)
{
    QSettings().setValue(languageKey, language);
}

QByteArray geometry()
{
    return QSettings().value(geometryKey).toByteArray();
}

QByteArray windowState()
{
    return QSettings().value(stateKey).toByteArray();
}

void rememberLayout(const QByteArray& geometry, const QByteArray& windowState)
{
    QSettings settings;
    settings.setValue(geometryKey, geometry);
    settings.setValue(stateKey, windowState);
}

void forgetLayout()
{
    QSettings settings;
    settings.remove(geometryKey);
    settings.remove(stateKey);
}

} // namespace WorkbenchSettings
