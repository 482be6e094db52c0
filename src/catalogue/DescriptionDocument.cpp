#include "DescriptionDocument.h"

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
    const QString path =
        chosen.isEmpty() ? QCoreApplication::applicationDirPath() + "/" + familyId + ".xml" : chosen;
    return path.toLatin1().toStdString();
}

NestingDepth deepestNesting(const std::string& text)
{
    NestingDepth deepest;
    int depth = 0;
    int line = 1;
    const std::size_t size = text.size();
    auto skipTo = [&](std::size_t from, const char* end) {
        const std::size_t found = text.find(end, from);
        const std::size_t stop =
            found == std::string::npos ? size : found + std::char_traits<char>::length(end);
        line +=
            int(std::count(text.begin() + std::ptrdiff_t(from), text.begin() + std::ptrdiff_t(stop), '\n'));
        return stop;
    };
    std::size_t i = 0;
    while (i < size) {
        const char c = text[i];
        if (c == '\n')
            ++line;
        if (c != '<') {
            ++i;
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0) {
            i = skipTo(i, "-->");
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            i = skipTo(i, "]]>");
        } else if (i + 1 < size && (text[i + 1] == '?' || text[i + 1] == '!')) {
            i = skipTo(i, ">");
        } else if (i + 1 < size && text[i + 1] == '/') {
            depth = std::max(0, depth - 1);
            i = skipTo(i, ">");
        } else {
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
                if (depth > deepest.depth)
                    deepest = {depth, line};
            }
            i = j + 1;
        }
    }
    return deepest;
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
    const NestingDepth nesting = deepestNesting(text);
    if (nesting.depth > deepestDocumentNesting) {
        throw pt::xml_parser_error(
            QCoreApplication::translate("DescriptionDocument", "elements are nested more than %1 deep")
                .arg(deepestDocumentNesting)
                .toStdString(),
            path, unsigned(nesting.line));
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
