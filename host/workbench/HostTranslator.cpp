#include "HostTranslator.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QList>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace {

// What this file installed, so that a switch of language can take it out.
QList<QPointer<QTranslator>>& installedTranslators()
{
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

void install(std::unique_ptr<QTranslator> translator)
{
    QCoreApplication::installTranslator(translator.get());
    installedTranslators().append(translator.release());
}

} // namespace

QStringList hostLanguages()
{
    return {"en", "de"};
}

QString languageName(const QString& language)
{
    if (language == "de")
        return QStringLiteral("Deutsch");
    if (language == "en")
        return QStringLiteral("English");
    return language;
}

bool installHostTranslations(const QString& language)
{
    if (language == "en")
        return true;
    // The catalogues live in a static library; naming them pulls them in.
    Q_INIT_RESOURCE(HostTranslations);
    auto host = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!host->load(":/translations/host_" + language))
        return false;
    install(std::move(host));
    // Qt's own dialogs and buttons, where the system has them.
    auto qt = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (qt->load("qtbase_" + language, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        install(std::move(qt));
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
            install(std::move(translator));
            ++installed;
        }
    }
    return installed;
}

bool switchTranslations(const QString& language)
{
    for (const QPointer<QTranslator>& translator : qAsConst(installedTranslators())) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    installedTranslators().clear();
    if (!installHostTranslations(language))
        return false;
    installLibraryTranslations(language);
    return true;
}
