#pragma once

#include <QString>
#include <QStringList>

#include <boost/property_tree/ptree.hpp>

#include <string>

namespace NimbarSensorPlugin::Core {

// Reading one node of the description document's parameter or caption
// section. Keys follow the document's element names; texts are UTF-8.

// A node is an element with child elements; text-only elements are not.
bool hasChildElements(const boost::property_tree::ptree& node);

// The text of a key, or the fallback when the key is absent.
QString keyText(const boost::property_tree::ptree& node, const char* key,
                const QString& fallback = QString());

// The node's caption: "text.<language>", or "text.en" when that is empty.
QString captionOf(const boost::property_tree::ptree& node, const std::string& languageCode);

// The captions of the children of the node's "items", in order, by the same
// rule; every item must have a child for the language (bad path otherwise).
QStringList itemCaptions(const boost::property_tree::ptree& node, const std::string& languageCode);

// The text of an "action" node's button: "caption.text.<language>", then
// "caption.text.en", "action" when neither exists.
QString buttonCaption(const boost::property_tree::ptree& node, const std::string& languageCode);

// "index;subIndex;size" exactly as written; throws bad path when a key is
// missing.
QString parameterAddress(const boost::property_tree::ptree& node);

// Whether the node's type makes a property at all.
bool isKnownParameterType(const QString& type);

// The first key the node needs for its type and lacks, or an empty text:
// lets the window refuse a node before it builds anything for it.
QString missingKey(const boost::property_tree::ptree& node, const std::string& languageCode);

// The keys of the node that should hold a number and hold something else,
// as "key "text"": the address (index, subIndex, size) of every parameter,
// and min, max and defaultvalue of numeric ones. The tree uses 0 or the
// default for them.
QStringList nonNumericKeys(const boost::property_tree::ptree& node);

// A node's name for messages: its id, else its caption in English, else its
// element name.
QString nodeLabel(const std::string& elementName, const boost::property_tree::ptree& node);

} // namespace NimbarSensorPlugin::Core
