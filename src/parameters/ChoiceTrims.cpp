#include "ChoiceTrims.h"

namespace NimbarSensorPlugin::Core {

namespace {

void removeIfPresent(QStringList& names, int position)
{
    if (position < names.size())
        names.removeAt(position);
}

} // namespace

void trimPinFunctionNames(QStringList& names, bool crashDetectionAvailable)
{
    if (!crashDetectionAvailable && !names.isEmpty())
        names.removeLast();
}

void trimErrorWarningNames(QStringList& names, const QString& variantCode)
{
    if (variantCode.isEmpty())
        return;
    if (variantCode == "108" || variantCode == "107") {
        removeIfPresent(names, 15);
    } else if (variantCode == "111" || variantCode == "113") {
        removeIfPresent(names, 12);
    } else {
        removeIfPresent(names, 12);
        removeIfPresent(names, 14);
    }
}

} // namespace NimbarSensorPlugin::Core
