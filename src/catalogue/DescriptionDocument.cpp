#include "DescriptionDocument.h"

#include <QCoreApplication>

#include <boost/property_tree/xml_parser.hpp>

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

void readDescriptionDocument(const std::string& path, pt::ptree& document)
{
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
