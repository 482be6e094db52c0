#pragma once

#include <boost/property_tree/ptree.hpp>

#include <cstdint>
#include <string>

namespace NimbarSensorPlugin::Core {

// The family id: plug-in id, description document name and the id the
// document must carry in document.documentId.
extern const char* const familyId;

// Where the description document lies: the file named by the environment
// variable IOLINK_DESCRIPTION_DOCUMENT, or else the application's data file
// (beside it in the build tree, in share/ when installed); as the file
// system's bytes (QFile::encodeName), so any folder name reaches the file.
std::string descriptionDocumentPath();

// What a real description document never reaches, but a broken or hostile
// one can: beyond these the reader would overflow its stack or take minutes.
constexpr std::uintmax_t largestDocumentBytes = 64u * 1024u * 1024u;
constexpr int deepestDocumentNesting = 64;
// Captions and other element texts; a real one is a line of a few dozen
// characters, and the tree lays out every caption it shows.
constexpr std::size_t longestDocumentText = 4096;

// Refuses a file larger than largestDocumentBytes, nested deeper than
// deepestDocumentNesting or holding an element text longer than
// longestDocumentText, with an xml_parser_error naming the file, the
// problem and (but for the size) the line. A file that is missing, not
// regular (a pipe, a device) or cannot be read is refused the same way,
// without line, and never opened when it is no regular file.
void checkDocumentLimits(const std::string& path);

// The deepest element nesting of an XML text and the line where it is
// first reached; the longest element text (CDATA included) in bytes and
// the line where it starts. Comments, processing instructions and quoted
// attribute values are skipped.
struct DocumentShape
{
    int depth = 0;
    int line = 1;
    std::size_t longestText = 0;
    int longestTextLine = 1;
};
DocumentShape documentShape(const std::string& text);

// Reads a description document with whitespace trimming and comment
// removal, after checkDocumentLimits. Throws the property tree's errors.
void readDescriptionDocument(const std::string& path, boost::property_tree::ptree& document);

// True when the document carries the family id exactly; throws when it has
// no document.documentId.
bool isFamilyDocument(const boost::property_tree::ptree& document);

// Writes a subtree as catalogue entry text: blank indent of width 0, UTF-8.
void writeEntryText(std::ostream& out, const boost::property_tree::ptree& entry);

} // namespace NimbarSensorPlugin::Core
