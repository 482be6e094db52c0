#include "BuiltInParameters.h"

#include <algorithm>

namespace IoLinkSimulator {

namespace {

ParameterSpec spec(const char* id, const char* type, ParameterAddress address, int size, qint64 defaultNumber,
                   double minimum, double maximum, bool readOnly)
{
    ParameterSpec parameter;
    parameter.id = QLatin1String(id);
    parameter.type = QLatin1String(type);
    parameter.address = address;
    parameter.size = size;
    parameter.defaultNumber = defaultNumber;
    parameter.minimum = minimum;
    parameter.maximum = maximum;
    parameter.readOnly = readOnly;
    parameter.builtIn = true;
    return parameter;
}

ParameterSpec text(const char* id, ParameterAddress address, const QByteArray& defaultText, bool readOnly)
{
    ParameterSpec parameter = spec(id, "string", address, TagLength, 0, 0, 0, readOnly);
    parameter.defaultText = defaultText;
    return parameter;
}

ParameterSpec distance(const char* id, ParameterAddress address, qint64 defaultValue, double minimum,
                       double maximum)
{
    return spec(id, "double", address, 7, defaultValue, minimum, maximum, false);
}

ParameterSpec button(const char* id, ParameterAddress address)
{
    return spec(id, "action", address, 6, 0, 0, 0, false);
}

} // namespace

bool isTagAddress(ParameterAddress address)
{
    return address == Address::AppSpecificTag || address == Address::FunctionTag ||
           address == Address::LocationTag;
}

void addBuiltInParameters(SensorDescription* description)
{
    const VariantInfo& variant = description->variant;
    const int span = variant.maxRange - variant.minRange;
    const int windowWidth = std::max(1, span / 20);
    const int hysteresis = std::max(5, span / 100);

    const std::vector<ParameterSpec> builtIn = {
        text("IdentityText", Address::Identity, description->identityText().toLatin1(), true),
        text("AppSpecificTag", Address::AppSpecificTag, QByteArray(), false),
        text("FunctionTag", Address::FunctionTag, QByteArray(), false),
        text("LocationTag", Address::LocationTag, QByteArray(), false),
        spec("EchoRecord", "string", Address::EchoRecord, 0, 0, 0, 0, true),
        spec("CrashCounter", "int", Address::CrashCounter, 7, 0, 0, 65535, true),
        spec("SystemCommand", "int", Address::SystemCommand, 6, 0, 0, 255, false),
        spec("ProcessDataSelection", "int", Address::SingleByteCommit, 6, 0, 0, 255, false),
        distance("SwitchingThresholdA1", {0x40, 1}, variant.minRange + span / 2, variant.minRange,
                 variant.maxRange),
        distance("SwitchingThresholdA2", {0x40, 2}, variant.minRange + span * 3 / 4, variant.minRange,
                 variant.maxRange),
        distance("LowerThresholdA1", {0x41, 1}, windowWidth, 0, variant.maxRange),
        distance("UpperThresholdA1", {0x41, 2}, windowWidth, 0, variant.maxRange),
        distance("LowerThresholdA2", {0x41, 3}, windowWidth, 0, variant.maxRange),
        distance("UpperThresholdA2", {0x41, 4}, windowWidth, 0, variant.maxRange),
        distance("HysteresisA1", {0x42, 1}, hysteresis, 0, 1000),
        distance("HysteresisA2", {0x42, 2}, hysteresis, 0, 1000),
        spec("TeachInMode1", "enumerator", {0x43, 1}, 6, 0, 0, 2, false),
        spec("TeachInMode2", "enumerator", {0x43, 2}, 6, 0, 0, 2, false),
        distance("DetectionRangeNear", {0x44, 1}, variant.objMinRange, variant.objMinRange,
                 variant.objMaxRange),
        distance("DetectionRangeFar", {0x44, 2}, variant.objMaxRange, variant.objMinRange,
                 variant.objMaxRange),
        button("TEACHBUTTON1", {0x45, 1}),
        button("TEACHBUTTON13", {0x45, 2}),
        button("TEACHBUTTON14", {0x45, 3}),
        button("TEACHBUTTON2", {0x46, 1}),
        button("TEACHBUTTON22", {0x46, 2}),
        button("TEACHBUTTON23", {0x46, 3}),
        button("RESETBUTTON", {0x47, 0}),
    };
    for (const ParameterSpec& parameter : builtIn) {
        if (!description->find(parameter.id) && !description->find(parameter.address))
            description->parameters.push_back(parameter);
    }
}

} // namespace IoLinkSimulator
