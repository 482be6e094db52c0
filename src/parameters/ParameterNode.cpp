#include "ParameterNode.h"

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

namespace {

QString utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), int(text.size()));
}

QString localisedText(const pt::ptree& texts, const std::string& languageCode)
{
    QString text = utf8(texts.get<std::string>(pt::ptree::path_type(languageCode, '\0'), ""));
    if (text.isEmpty())
        text = utf8(texts.get<std::string>("en", ""));
    return text;
}

} // namespace

bool hasChildElements(const pt::ptree& node)
{
    return !node.empty();
}

QString keyText(const pt::ptree& node, const char* key, const QString& fallback)
{
    const auto value = node.get_optional<std::string>(key);
    return value ? utf8(*value) : fallback;
}

QString captionOf(const pt::ptree& node, const std::string& languageCode)
{
    const auto texts = node.get_child_optional("text");
    return texts ? localisedText(*texts, languageCode) : QString();
}

QStringList itemCaptions(const pt::ptree& node, const std::string& languageCode)
{
    QStringList captions;
    for (const auto& item : node.get_child("items")) {
        // The current language must be there; only an empty text falls back.
        item.second.get_child(pt::ptree::path_type(languageCode, '\0'));
        captions.append(localisedText(item.second, languageCode));
    }
    return captions;
}

QString buttonCaption(const pt::ptree& node, const std::string& languageCode)
{
    const auto texts = node.get_child_optional("caption.text");
    QString text = texts ? utf8(texts->get<std::string>(pt::ptree::path_type(languageCode, '\0'), "action"))
                         : QString("action");
    if (text.isEmpty())
        text = utf8(node.get<std::string>("caption.text.en", "action"));
    return text;
}

QString parameterAddress(const pt::ptree& node)
{
    return utf8(node.get<std::string>("index")) + ";" + utf8(node.get<std::string>("subIndex")) + ";" +
           utf8(node.get<std::string>("size"));
}

bool isKnownParameterType(const QString& type)
{
    static const QStringList types{"category", "enumerator", "int", "double", "bool", "action", "string"};
    return types.contains(type);
}

QString missingKey(const pt::ptree& node, const std::string& languageCode)
{
    const QString type = keyText(node, "type");
    if (type == "category")
        return QString();
    for (const char* key : {"index", "subIndex", "size"}) {
        if (!node.get_child_optional(key))
            return key;
    }
    const bool choiceString = type == "string" && keyText(node, "isString") != "true" &&
                              keyText(node, "readonly", "true") != "true";
    if (type == "string" && !node.get_child_optional("defaultvalue"))
        return "defaultvalue";
    if (type == "enumerator" || choiceString) {
        const auto items = node.get_child_optional("items");
        if (!items)
            return "items";
        for (const auto& item : *items) {
            if (!item.second.get_child_optional(pt::ptree::path_type(languageCode, '\0')))
                return QString("items.%1.%2")
                    .arg(QString::fromStdString(item.first), QString::fromStdString(languageCode));
        }
    }
    return QString();
}

QStringList nonNumericKeys(const pt::ptree& node)
{
    const QString type = keyText(node, "type");
    if (type == "category")
        return {};
    QStringList wrong;
    auto check = [&](const char* key, bool fraction) {
        const auto text = node.get_optional<std::string>(key);
        if (!text)
            return;
        bool ok = false;
        const QString value = utf8(*text).trimmed();
        fraction ? value.toDouble(&ok) : value.toLongLong(&ok, 10);
        if (!ok)
            wrong << QString("%1 \"%2\"").arg(QString::fromLatin1(key), utf8(*text));
    };
    for (const char* key : {"index", "subIndex", "size"})
        check(key, false);
    if (type == "int" || type == "double" || type == "enumerator" || type == "bool") {
        for (const char* key : {"min", "max", "defaultvalue"})
            check(key, type == "double");
    }
    return wrong;
}

QString nodeLabel(const std::string& elementName, const pt::ptree& node)
{
    QString label = keyText(node, "id");
    if (label.isEmpty())
        label = captionOf(node, "en");
    return label.isEmpty() ? QString::fromStdString(elementName) : label;
}

} // namespace NimbarSensorPlugin::Core
