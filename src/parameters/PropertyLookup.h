#pragma once

#include <QList>
#include <QString>

class QtProperty;

namespace NimbarSensorPlugin::Core {

// The first property below parent (not parent itself) whose id is id,
// depth first in sub-property order; null when there is none.
QtProperty* findProperty(QtProperty* parent, const QString& id);

// Every property below parent, each followed by its descendants.
QList<QtProperty*> collectProperties(QtProperty* parent);

} // namespace NimbarSensorPlugin::Core
