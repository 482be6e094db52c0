#pragma once

// A sensor window, or its parameter tree alone, as the widget tests build and reach them.
#include <window/SensorWindow.h>

#include <catalogue/DescriptionDocument.h>
#include <parameters/ParameterModel.h>
#include <parameters/ParameterTree.h>
#include <tools/LengthUnits.h>

#include <extensionsystem/SensorBasic.h>
#include <utils/charts/GenericChart.h>

#include <qtpropertybrowser.h>

#include <QtTest>

#include <sstream>
#include <string>

// The record a host hands the plug-in for a sensor chosen by name.
inline ExtensionSystem::SensorBasic hostRecord(const std::string& name)
{
    std::stringstream text("<name>" + name + "</name>");
    ExtensionSystem::SensorBasic sensor;
    sensor.fromXMLStream(text);
    return sensor;
}

inline QtProperty* row(const NimbarSensorPlugin::Core::SensorWindow& window, const QString& id)
{
    return window.findProperty(window.rootProperty(), id);
}

// The tree of the document in use, with the model holding the document's values.
struct TreeUnderTest
{
    NimbarSensorPlugin::Core::ParameterModel model;
    NimbarSensorPlugin::Core::LengthUnits units;
    NimbarSensorPlugin::Core::ParameterTree tree{model, units};
    explicit TreeUnderTest(const char* language = "en")
    {
        tree.build(NimbarSensorPlugin::Core::descriptionDocumentPath(), "root", language);
        tree.resetModel();
    }
};

// The manager of a row's value, null when the row is missing or of another type.
template <class Manager>
Manager* managerOf(const NimbarSensorPlugin::Core::SensorWindow& window, const QString& id)
{
    QtProperty* property = row(window, id);
    return property ? qobject_cast<Manager*>(property->propertyManager()) : nullptr;
}
