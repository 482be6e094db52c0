#pragma once

#include <boost/property_tree/ptree.hpp>

#include <string>

namespace NimbarSensorPlugin::Core {

// The family id: plug-in id, description document name and the id the
// document must carry in document.documentId.
extern const char* const familyId;

// Where the description document lies: the file named by the environment
// variable IOLINK_DESCRIPTION_DOCUMENT, or else the application's
// directory; as Latin-1 bytes.
std::string descriptionDocumentPath();

// Reads a description document with whitespace trimming and comment
// removal. Throws the property tree's errors.
void readDescriptionDocument(const std::string& path, boost::property_tree::ptree& document);

// True when the document carries the family id exactly; throws when it has
// no document.documentId.
bool isFamilyDocument(const boost::property_tree::ptree& document);

// Writes a subtree as catalogue entry text: blank indent of width 0, UTF-8.
void writeEntryText(std::ostream& out, const boost::property_tree::ptree& entry);

} // namespace NimbarSensorPlugin::Core
