#pragma once

// A sensor window as the widget tests build and reach it.
#include <window/SensorWindow.h>

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

// The manager of a row's value, null when the row is missing or of another type.
template <class Manager>
Manager* managerOf(const NimbarSensorPlugin::Core::SensorWindow& window, const QString& id)
{
    QtProperty* property = row(window, id);
    return property ? qobject_cast<Manager*>(property->propertyManager()) : nullptr;
}
