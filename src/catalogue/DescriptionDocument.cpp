#include "DescriptionDocument.h"

#include <QCoreApplication>

#include <boost/property_tree/xml_parser.hpp>

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

const char* const familyId = "IoLinkMzRT5family";

std::string descriptionDocumentPath()
{
    const QString path = QCoreApplication::applicationDirPath() + "/" + familyId + ".xml";
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
