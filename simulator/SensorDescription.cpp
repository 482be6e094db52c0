#include "SensorDescription.h"

#include "BuiltInParameters.h"

#include <QFile>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <algorithm>
#include <sstream>

namespace IoLinkSimulator {

namespace pt = boost::property_tree;

namespace {

const char* const FamilyId = "IoLinkMzRT5family";

QString text(const pt::ptree& node, const char* key, const QString& fallback = QString())
{
    const auto value = node.get_optional<std::string>(key);
    return value ? QString::fromStdString(*value).trimmed() : fallback;
}

int integer(const pt::ptree& node, const char* key, int fallback)
{
    bool ok = false;
    const int value = text(node, key).toInt(&ok);
    return ok ? value : fallback;
}

// Numbers that do not parse count as 0, as in the workbench.
double number(const pt::ptree& node, const char* key)
{
    return text(node, key).toDouble();
}

VariantInfo readVariant(const pt::ptree& node)
{
    VariantInfo variant;
    variant.code = text(node, "ID3");
    variant.analogOutput = text(node, "analogOutput") == QLatin1String("1");
    variant.minRange = integer(node, "minRange", variant.minRange);
    variant.maxRange = integer(node, "maxRange", variant.maxRange);
    variant.objMinRange = integer(node, "objMinRange", variant.objMinRange);
    variant.objMaxRange = integer(node, "objMaxRange", variant.objMaxRange);
    variant.singleSwitchingOutput = text(node, "A2PinFct") == QLatin1String("1");
    variant.crashDetection = text(node, "resetAcc") != QLatin1String("0");
    return variant;
}

bool isParameterType(const QString& type)
{
    static const QStringList types = {"enumerator", "int", "double", "bool", "action", "string"};
    return types.contains(type);
}

bool readAddressField(const pt::ptree& node, const char* key, const QString& id, int limit, int* value,
                      QString* error)
{
    const auto field = node.get_optional<std::string>(key);
    if (!field) {
        *error = QStringLiteral("parameter '%1' has no %2").arg(id, QLatin1String(key));
        return false;
    }
    bool ok = false;
    *value = QString::fromStdString(*field).trimmed().toInt(&ok, 10);
    if (!ok || *value < 0 || *value > limit) {
        *error = QStringLiteral("parameter '%1' has %2 '%3', expected a decimal number up to %4")
                     .arg(id, QLatin1String(key), QString::fromStdString(*field))
                     .arg(limit);
        return false;
    }
    return true;
}

std::optional<ParameterSpec> readParameter(const pt::ptree& node, const QString& type, QString* error)
{
    ParameterSpec spec;
    spec.type = type;
    spec.id = text(node, "id");
    int index = 0;
    int subIndex = 0;
    if (!readAddressField(node, "index", spec.id, 0xFFFF, &index, error) ||
        !readAddressField(node, "subIndex", spec.id, 0xFF, &subIndex, error) ||
        !readAddressField(node, "size", spec.id, 0xFF, &spec.size, error))
        return std::nullopt;
    spec.address = {static_cast<quint16>(index), static_cast<quint8>(subIndex)};
    spec.minimum = number(node, "min");
    spec.maximum = number(node, "max");
    if (type == QLatin1String("string")) {
        spec.defaultText = text(node, "defaultvalue").toUtf8();
        spec.defaultNumber = spec.defaultText.toLongLong();
    } else {
        spec.defaultNumber = qRound64(number(node, "defaultvalue"));
    }
    // Counters and strings without a readonly key are read-only, as the
    // workbench shows them; free-text strings are not.
    const bool freeText = text(node, "isString") == QLatin1String("true");
    const bool readOnlyByDefault =
        type == QLatin1String("int") || (type == QLatin1String("string") && !freeText);
    spec.readOnly = text(node, "readonly", readOnlyByDefault ? "true" : "false") == QLatin1String("true");
    return spec;
}

// Walks one node and its "property" children; later nodes with the same id
// replace earlier ones.
bool collectParameters(const pt::ptree& node, std::vector<ParameterSpec>* parameters, QString* error)
{
    if (node.empty())
        return true;
    const QString type = text(node, "type");
    if (type != QLatin1String("category")) {
        if (!isParameterType(type))
            return true;
        const std::optional<ParameterSpec> spec = readParameter(node, type, error);
        if (!spec)
            return false;
        const auto same = std::find_if(parameters->begin(), parameters->end(),
                                       [&](const ParameterSpec& known) { return known.id == spec->id; });
        if (same != parameters->end())
            *same = *spec;
        else
            parameters->push_back(*spec);
    }
    for (const auto& child : node) {
        if (child.first == "property" && !collectParameters(child.second, parameters, error))
            return false;
    }
    return true;
}

std::optional<pt::ptree> readDocument(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open description document %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    std::istringstream stream(file.readAll().toStdString());
    pt::ptree tree;
    try {
        pt::read_xml(stream, tree, pt::xml_parser::trim_whitespace | pt::xml_parser::no_comments);
    } catch (const pt::xml_parser_error& failure) {
        *error = QStringLiteral("description document %1 is not valid XML: %2 (line %3)")
                     .arg(path, QString::fromStdString(failure.message()))
                     .arg(failure.line());
        return std::nullopt;
    }
    if (tree.get<std::string>("document.documentId", "") != FamilyId) {
        *error = QStringLiteral("%1 is not the %2 description document").arg(path, QLatin1String(FamilyId));
        return std::nullopt;
    }
    return tree;
}

} // namespace

const ParameterSpec* SensorDescription::find(const QString& id) const
{
    for (const ParameterSpec& spec : parameters) {
        if (spec.id == id)
            return &spec;
    }
    return nullptr;
}

const ParameterSpec* SensorDescription::find(ParameterAddress address) const
{
    for (const ParameterSpec& spec : parameters) {
        if (spec.address == address)
            return &spec;
    }
    return nullptr;
}

std::optional<SensorDescription> loadSensorDescription(const QString& documentPath, const QString& modelId,
                                                       const QString& variantCode, QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    const std::optional<pt::ptree> tree = readDocument(documentPath, &message);
    if (!tree)
        return std::nullopt;
    const auto sensorList = tree->get_child_optional("document.sensorList");
    if (!sensorList) {
        message = QStringLiteral("description document %1 has no sensor list").arg(documentPath);
        return std::nullopt;
    }

    SensorDescription description;
    QStringList knownModels;
    const pt::ptree* entry = nullptr;
    for (const auto& child : *sensorList) {
        const QString id = text(child.second, "id");
        knownModels << id;
        if (!entry && id == modelId)
            entry = &child.second;
    }
    if (!entry) {
        message = QStringLiteral("unknown model '%1'; the description document lists %2")
                      .arg(modelId, knownModels.join(QLatin1String(", ")));
        return std::nullopt;
    }
    description.modelId = modelId;
    description.name = text(*entry, "name");

    std::optional<VariantInfo> chosen;
    if (const auto variants = entry->get_child_optional("sensors")) {
        for (const auto& child : *variants) {
            const VariantInfo variant = readVariant(child.second);
            description.knownVariants << variant.code;
            if (!chosen && (variantCode.isEmpty() || variant.code == variantCode))
                chosen = variant;
        }
    }
    if (!chosen) {
        message = description.knownVariants.isEmpty()
                      ? QStringLiteral("model '%1' lists no variants").arg(modelId)
                      : QStringLiteral("model '%1' has no variant '%2'; it has %3")
                            .arg(modelId, variantCode, description.knownVariants.join(QLatin1String(", ")));
        return std::nullopt;
    }
    description.variant = *chosen;

    if (const auto section = tree->get_child_optional("document.treeGui.default")) {
        description.hasParameterSection = true;
        for (const auto& child : *section) {
            if (!collectParameters(child.second, &description.parameters, &message)) {
                message = QStringLiteral("description document %1: %2").arg(documentPath, message);
                return std::nullopt;
            }
        }
    }
    addBuiltInParameters(&description);
    return description;
}

} // namespace IoLinkSimulator
