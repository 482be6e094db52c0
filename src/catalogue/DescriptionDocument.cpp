#include "DescriptionDocument.h"

#include <extensionsystem/InstallLayout.h>

#include <QCoreApplication>

#include <boost/property_tree/xml_parser.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

const char* const familyId = "IoLinkMzRT5family";

std::string descriptionDocumentPath()
{
    // A supporter can try a corrected document without touching the
    // installation; tests use it for documents of their own.
    const QString chosen = qEnvironmentVariable("IOLINK_DESCRIPTION_DOCUMENT");
    const QString path = chosen.isEmpty() ? ExtensionSystem::dataFile(QString(familyId) + ".xml") : chosen;
    return path.toLatin1().toStdString();
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

void checkDocumentLimits(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error)
        return;
    if (bytes > largestDocumentBytes) {
        throw pt::xml_parser_error(
            QCoreApplication::translate("DescriptionDocument",
                                        "the file has %1 MB; a description document has at "
                                        "most %2 MB")
                .arg(bytes / (1024 * 1024))
                .arg(largestDocumentBytes / (1024 * 1024))
                .toStdString(),
            path, 0);
    }
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
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

void readDescriptionDocument(const std::string& path, pt::ptree& document)
{
    checkDocumentLimits(path);
    pt::read_xml(path, document, pt::xml_parser::trim_whitespace | pt::xml_parser::no_comments);
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
