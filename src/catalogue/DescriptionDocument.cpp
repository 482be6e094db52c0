#include "DescriptionDocument.h"

#include <extensionsystem/FileChecks.h>
#include <extensionsystem/InstallLayout.h>

#include <QCoreApplication>
#include <QFile>

#include <boost/property_tree/xml_parser.hpp>

#include <algorithm>
#include <sstream>

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

const char* const familyId = "IoLinkMzRT5family";

std::string descriptionDocumentPath()
{
    // A supporter can try a corrected document without touching the
    // installation; tests use it for documents of their own.
    const QString chosen = qEnvironmentVariable("IOLINK_DESCRIPTION_DOCUMENT");
    const QString path = chosen.isEmpty() ? ExtensionSystem::dataFile(QString(familyId) + ".xml") : chosen;
    return QFile::encodeName(path).toStdString();
}

DocumentShape documentShape(const std::string& text)
{
    DocumentShape shape;
    int depth = 0;
    int line = 1;
    std::size_t run = 0;
    int runLine = 1;
    auto skipTo = [&](std::size_t from, const char* end) {
        const std::size_t found = text.find(end, from);
        const std::size_t stop =
            found == std::string::npos ? text.size() : found + std::char_traits<char>::length(end);
        line +=
            int(std::count(text.begin() + std::ptrdiff_t(from), text.begin() + std::ptrdiff_t(stop), '\n'));
        return stop;
    };
    auto endRun = [&] {
        if (run > shape.longestText) {
            shape.longestText = run;
            shape.longestTextLine = runLine;
        }
        run = 0;
    };
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const char c = text[i];
        if (c != '<') {
            if (run == 0)
                runLine = line;
            ++run;
            if (c == '\n')
                ++line;
            ++i;
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0) {
            i = skipTo(i, "-->");
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            if (run == 0)
                runLine = line;
            const std::size_t stop = skipTo(i, "]]>");
            run += stop - i;
            i = stop;
        } else if (i + 1 < size && (text[i + 1] == '?' || text[i + 1] == '!')) {
            endRun();
            i = skipTo(i, ">");
        } else if (i + 1 < size && text[i + 1] == '/') {
            endRun();
            depth = std::max(0, depth - 1);
            i = skipTo(i, ">");
        } else {
            endRun();
            // To the end of the tag, past quoted values that may hold '>'.
            std::size_t j = i + 1;
            char quote = 0;
            while (j < size && (quote || text[j] != '>')) {
                if (text[j] == '\n')
                    ++line;
                if (quote && text[j] == quote)
                    quote = 0;
                else if (!quote && (text[j] == '"' || text[j] == '\''))
                    quote = text[j];
                ++j;
            }
            if (j >= size || text[j - 1] != '/') {
                ++depth;
                if (depth > shape.depth) {
                    shape.depth = depth;
                    shape.line = line;
                }
            }
            i = j + 1;
        }
    }
    endRun();
    return shape;
}

namespace {

// The document's text, from a regular file of at most largestDocumentBytes:
// a pipe or a device would never end.
std::string documentText(const std::string& path)
{
    QByteArray text;
    QString problem;
    if (!ExtensionSystem::readRegularFile(QFile::decodeName(QByteArray::fromStdString(path)),
                                          qint64(largestDocumentBytes), &text, &problem))
        throw pt::xml_parser_error(problem.toStdString(), path, 0);
    return text.toStdString();
}

void checkShape(const std::string& path, const std::string& text)
{
    const DocumentShape shape = documentShape(text);
    if (shape.depth > deepestDocumentNesting) {
        throw pt::xml_parser_error(
            QCoreApplication::translate("DescriptionDocument", "elements are nested more than %1 deep")
                .arg(deepestDocumentNesting)
                .toStdString(),
            path, unsigned(shape.line));
    }
    if (shape.longestText > longestDocumentText) {
        throw pt::xml_parser_error(QCoreApplication::translate("DescriptionDocument",
                                                               "an element text of %1 bytes; a caption or "
                                                               "value has at most %2")
                                       .arg(shape.longestText)
                                       .arg(longestDocumentText)
                                       .toStdString(),
                                   path, unsigned(shape.longestTextLine));
    }
}

} // namespace

void checkDocumentLimits(const std::string& path)
{
    checkShape(path, documentText(path));
}

void readDescriptionDocument(const std::string& path, pt::ptree& document)
{
    const std::string text = documentText(path);
    checkShape(path, text);
    std::istringstream in(text);
    try {
        pt::read_xml(in, document, pt::xml_parser::trim_whitespace | pt::xml_parser::no_comments);
    } catch (const pt::xml_parser_error& error) {
        // Read from memory, the reader knows no file name.
        throw pt::xml_parser_error(error.message(), path, error.line());
    }
}

bool isFamilyDocument(const pt::ptree& document)
{
    return document.get<std::string>("document.documentId") == familyId;
}

void writeEntryText(std::ostream& out, const pt::ptree& entry)
{
    pt::write_xml(out, entry, pt::xml_writer_make_settings<std::string>(' ', 0, "utf-8"));
}

} // namespace NimbarSensorPlugin::Core
