#include "HostTranslator.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

bool installHostTranslations(const QString& language)
{
    if (language == "en")
        return true;
    // The catalogues live in a static library; naming them pulls them in.
    Q_INIT_RESOURCE(host_translations);
    auto host = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!host->load(":/translations/host_" + language))
        return false;
    QCoreApplication::installTranslator(host.release());
    // Qt's own dialogs and buttons, where the system has them.
    auto qt = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (qt->load("qtbase_" + language, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt.release());
    return true;
}
