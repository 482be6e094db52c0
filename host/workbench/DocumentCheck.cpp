#include "DocumentCheck.h"

#include <extensionsystem/FileChecks.h>
#include <extensionsystem/InstallLayout.h>

#include <QCoreApplication>
#include <QXmlStreamReader>

namespace {

// The plug-in refuses documents beyond these; no real one comes near.
constexpr qint64 largestBytes = 64 * 1024 * 1024;
constexpr int deepestNesting = 64;
constexpr int longestText = 4096;

} // namespace

QString descriptionDocumentOf(const QString& pluginName)
{
    const QString chosen = qEnvironmentVariable("IOLINK_DESCRIPTION_DOCUMENT");
    return chosen.isEmpty() ? ExtensionSystem::dataFile(pluginName + ".xml") : chosen;
}

QString describeDocumentProblem(const QString& path, const QString& documentId)
{
    QByteArray text;
    QString problem;
    if (!ExtensionSystem::readRegularFile(path, largestBytes, &text, &problem))
        return QCoreApplication::translate("DocumentCheck", "The description document cannot be used: %1")
            .arg(problem);

    QXmlStreamReader xml(text);
    int depth = 0;
    QString id;
    bool inId = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > deepestNesting)
                return QCoreApplication::translate(
                           "DocumentCheck",
                           "The description document %1, line %2: elements are nested more than %3 deep.")
                    .arg(path)
                    .arg(xml.lineNumber())
                    .arg(deepestNesting);
            inId = depth == 2 && xml.name() == QLatin1String("documentId");
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            inId = false;
            break;
        case QXmlStreamReader::Characters:
            if (xml.text().size() > longestText)
                return QCoreApplication::translate("DocumentCheck",
                                                   "The description document %1, line %2: an element text of "
                                                   "%3 characters; a caption "
                                                   "or value has at most %4.")
                    .arg(path)
                    .arg(xml.lineNumber())
                    .arg(xml.text().size())
                    .arg(longestText);
            if (inId)
                id += xml.text();
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return QCoreApplication::translate("DocumentCheck", "The description document %1, line %2: %3")
            .arg(path)
            .arg(xml.lineNumber())
            .arg(xml.errorString());
    if (id.trimmed() != documentId)
        return QCoreApplication::translate("DocumentCheck",
                                           "The description document %1 is for \"%2\", not for \"%3\".")
            .arg(path, id.trimmed(), documentId);
    return QString();
}
