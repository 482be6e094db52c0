#include "RowVisibility.h"

#include "ParameterTree.h"
#include "catalogue/Sensor.h"
#include "tools/LengthUnits.h"

#include <qtpropertymanager.h>

namespace NimbarSensorPlugin::Core {

namespace {

void setAll(RowVisibility& rows, std::initializer_list<const char*> ids, bool shown)
{
    for (const char* id : ids)
        rows.append({id, shown});
}

// Window mode has a lower and an upper limit around the switching point;
// any other mode the switching point alone.
void addSwitchingRows(RowVisibility& rows, const ParameterTree& tree, const QString& n)
{
    const bool window = tree.choice("TeachInMode" + n) == 2;
    rows.append({"LowerThresholdA" + n, window});
    rows.append({"UpperThresholdA" + n, window});
    if (!window)
        rows.append({"SwitchingThresholdA" + n, true});
}

} // namespace

RowVisibility variantRowVisibility(const SensorVariant& variant, const QString& code)
{
    RowVisibility rows;
    if (variant.analogOutput) {
        // The analog output of variants 107 and 137 has no subtraction setting.
        rows.append({"AnalogMode", true});
        rows.append({"AnalogSubt", code != "107" && code != "137"});
    }
    if (variant.analogOutput || variant.singleSwitchingOutput)
        setAll(rows, {"PinFunctionA2", "Output2Settings"}, false);
    if (!variant.accelerationSensor)
        rows.append({"CrashDetection", false});
    return rows;
}

void applyPinInterlock(ParameterTree& tree)
{
    QtProperty* pin1 = tree.find("PinFunctionA1");
    QtProperty* pin2 = tree.find("PinFunctionA2");
    if (pin1)
        pin1->setEnabled(true);
    if (pin2)
        pin2->setEnabled(true);
    if (!pin1 || !pin2)
        return;
    QtEnumPropertyManager* choices = tree.managers().enums;
    if (choices->value(pin1) == 4) {
        choices->setValue(pin2, 0);
        pin2->setEnabled(false);
    }
    if (choices->value(pin2) == 4) {
        choices->setValue(pin1, 0);
        pin1->setEnabled(false);
    }
}

RowVisibility outputRowVisibility(const ParameterTree& tree)
{
    RowVisibility rows;
    rows.append({"Output1Settings", true});
    setAll(rows, {"NONCA1", "NPNPNP1", "OnDelay1", "OffDelay1", "InputMode1"}, false);
    addSwitchingRows(rows, tree, "1");
    switch (tree.choice("PinFunctionA1")) {
    case 0:
    case 1:
    case 2:
        setAll(rows, {"NONCA1", "NPNPNP1", "OnDelay1", "OffDelay1"}, true);
        break;
    case 3:
    case 4:
        rows.append({"InputMode1", true});
        break;
    case 5:
    case 6:
        rows.append({"Output1Settings", false});
        break;
    default:
        break;
    }

    addSwitchingRows(rows, tree, "2");
    const int pinFunction2 = tree.choice("PinFunctionA2");
    if (pinFunction2 >= 5) {
        rows.append({"Output2Settings", false});
    } else {
        rows.append({"Output2Settings", !tree.units().variant().hasAnalogOutput});
        setAll(rows, {"NONCA2", "NPNPNP2", "OnDelay2", "OffDelay2", "InputMode2"}, false);
        if (pinFunction2 == 0)
            setAll(rows, {"NONCA2", "NPNPNP2", "SwitchingThresholdA2", "OnDelay2", "OffDelay2"}, true);
        else if (pinFunction2 == 1 || pinFunction2 == 2)
            setAll(rows, {"NONCA2", "NPNPNP2", "OnDelay2", "OffDelay2"}, true);
        else if (pinFunction2 == 3 || pinFunction2 == 4)
            rows.append({"InputMode2", true});
    }

    const bool pin3Active = tree.choice("PinFunctionA3") <= 1;
    rows.append({"InputMode3", pin3Active});
    rows.append({"Output3Settings", pin3Active});
    return rows;
}

RowVisibility testRowVisibility(const ParameterTree& tree, bool testMode)
{
    RowVisibility rows;
    if (tree.find("SimulationDistanceValue")) {
        rows.append({"SimulationDistanceValue", testMode});
        rows.append({"SimulationMeasurementValue", testMode && tree.choice("SimulationDistanceValue") == 1});
    }
    setAll(rows, {"TestA1", "TestA2"}, testMode);
    setAll(rows, {"SimulaionAnalogVoltage", "SimulaionAnalogCurrent", "SimulationAnalogOutput"},
           testMode && tree.units().variant().hasAnalogOutput);
    setAll(rows,
           {"SimulationWarning", "SimulationContamination", "SimulatioContaminationRange",
            "SimulationAmbient", "SimulationFatalError", "SimulationTemperatureError",
            "SimulationTemperatureWarningHigh", "SimulationTemperatureWarningLow", "SimulationUndervoltage",
            "SimulationShortCircuit"},
           testMode);
    rows.append({"SimulationAccelerationSensor", testMode && tree.crashDetectionAvailable()});
    return rows;
}

} // namespace NimbarSensorPlugin::Core
