#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace IoLinkSimulator {

// Where a parameter lives on the sensor.
struct ParameterAddress
{
    quint16 index = 0;
    quint8 subIndex = 0;

    bool operator<(const ParameterAddress& other) const
    {
        return index != other.index ? index < other.index : subIndex < other.subIndex;
    }
    bool operator==(const ParameterAddress& other) const
    {
        return index == other.index && subIndex == other.subIndex;
    }
};

// One variant of a model, as the catalogue lists it. Ranges in millimetres.
struct VariantInfo
{
    QString code;
    bool analogOutput = false;
    int minRange = 50;
    int maxRange = 10000;
    int objMinRange = 0;
    int objMaxRange = 10001;
    bool singleSwitchingOutput = false;
    bool crashDetection = true;
};

// One parameter node of the description's parameter section, or one the
// simulator always provides.
struct ParameterSpec
{
    QString id;
    QString type; // "enumerator", "int", "double", "bool", "action" or "string"
    ParameterAddress address;
    int size = 0;
    qint64 defaultNumber = 0;
    QByteArray defaultText;
    double minimum = 0;
    double maximum = 0;
    bool readOnly = false;
    bool builtIn = false;

    // Strings travel as text, except the "SelfReadOnly" ones, which the
    // reader takes as a signed 32-bit number.
    bool isText() const
    {
        return type == QLatin1String("string") && !id.contains(QLatin1String("SelfReadOnly"));
    }
};

struct SensorDescription
{
    QString modelId;
    QString name;
    VariantInfo variant;
    QStringList knownVariants;
    bool hasParameterSection = false;
    std::vector<ParameterSpec> parameters;

    // What the sensor reports at index 0x0012: the model id, "-" and the
    // variant code as the last three characters.
    QString identityText() const { return modelId + QLatin1Char('-') + variant.code; }
    const ParameterSpec* find(const QString& id) const;
    const ParameterSpec* find(ParameterAddress address) const;
};

// Reads the model (and variant; empty: the model's first) from the family
// description document, including every parameter of its parameter section
// when the document has one, and completes it with the built-in parameters.
// On failure returns nothing and sets error.
std::optional<SensorDescription> loadSensorDescription(const QString& documentPath, const QString& modelId,
                                                       const QString& variantCode, QString* error);

} // namespace IoLinkSimulator
