#pragma once

#include <FileFaults.h>

#include <QFile>
#include <QString>

// A small description document for the end-to-end tests of the link: two
// models whose variants cover the analog output, a single switching output
// and missing crash detection, a few parameters of every kind, so that
// reading or writing all of them takes a second or two, and the rows of the
// process-data list up to the master's output bits.
inline QByteArray linkTestDocument()
{
    return contentOf(IOLINK_TEST_SUPPORT_DIR "/link-test-document.xml");
}

// Writes the document into folder and makes the plug-in read it instead of
// the real one; its path, or empty when it could not be written.
inline QString useLinkTestDocument(const QString& folder)
{
    const QString path = folder + "/IoLinkMzRT5family.xml";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(linkTestDocument()) < 0)
        return QString();
    qputenv("IOLINK_DESCRIPTION_DOCUMENT", path.toLocal8Bit());
    return path;
}

// The family's own description document beside the plug-in; the window
// reads it from now on.
inline QString useFamilyDocument()
{
    const QString document = IOLINK_PLUGIN_DIR "/../IoLinkMzRT5family.xml";
    qputenv("IOLINK_DESCRIPTION_DOCUMENT", document.toLocal8Bit());
    return document;
}
