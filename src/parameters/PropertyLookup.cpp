#include "PropertyLookup.h"

#include <qtpropertybrowser.h>

namespace NimbarSensorPlugin::Core {

QtProperty* findProperty(QtProperty* parent, const QString& id)
{
    if (!parent)
        return nullptr;
    for (QtProperty* child : parent->subProperties()) {
        if (child->propertyId() == id)
            return child;
        if (QtProperty* found = findProperty(child, id))
            return found;
    }
    return nullptr;
}

QList<QtProperty*> collectProperties(QtProperty* parent)
{
    QList<QtProperty*> all;
    if (!parent)
        return all;
    for (QtProperty* child : parent->subProperties()) {
        all.append(child);
        all.append(collectProperties(child));
    }
    return all;
}

} // namespace NimbarSensorPlugin::Core
