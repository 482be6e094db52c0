#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace NimbarSensorPlugin::Core {

class ParameterTree;
struct SensorVariant;

// Rows the tree's own values show or hide, each with whether it is shown, in
// the order to apply them: a row named twice ends as its last entry says.
using RowVisibility = QList<QPair<QString, bool>>;

// The rows of each output follow its pin function and teach mode; the
// second output's settings are the analog output's on variants that have one.
RowVisibility outputRowVisibility(const ParameterTree& tree);

// The rows the connected variant has: an analog output in place of the
// second switching output, one switching output only, no acceleration sensor.
RowVisibility variantRowVisibility(const SensorVariant& variant, const QString& code);

// A pin set to teach input leaves the other pin no function and no choice.
void applyPinInterlock(ParameterTree& tree);

// The test rows show in test mode only; those of the analog output and of
// the acceleration sensor only where the variant has them.
RowVisibility testRowVisibility(const ParameterTree& tree, bool testMode);

} // namespace NimbarSensorPlugin::Core
