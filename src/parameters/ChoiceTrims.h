#pragma once

#include <QString>
#include <QStringList>

namespace NimbarSensorPlugin::Core {

// Choice lists that depend on the connected sensor variant.

// The pin-function lists end with the crash-detection function, which only
// variants with the acceleration sensor offer.
void trimPinFunctionNames(QStringList& names, bool crashDetectionAvailable);

// The error and warning sources: each variant lacks one or two of the
// variant-specific sources at the list's end. No variant known yet (empty
// code) means the full list.
void trimErrorWarningNames(QStringList& names, const QString& variantCode);

} // namespace NimbarSensorPlugin::Core
