#include "HostTranslator.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

bool installHostTranslations(const QString& language)
{
    if (language == "en")
        return true;
    // The catalogues live in a static library; naming them pulls them in.
    Q_INIT_RESOURCE(HostTranslations);
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

int installLibraryTranslations(const QString& language)
{
    if (language == "en")
        return 0;
    int installed = 0;
    const QDir catalogues(":/translations");
    for (const QString& name : catalogues.entryList({"*_" + language + ".qm"}, QDir::Files)) {
        if (name.startsWith("host_"))
            continue;
        auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
        if (translator->load(catalogues.filePath(name))) {
            QCoreApplication::installTranslator(translator.release());
            ++installed;
        }
    }
    return installed;
}
