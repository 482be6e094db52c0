#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace NimbarSensorPlugin::Core {

// Which parameters a write sends, and in what order. Some parameters give
// others their range or meaning: the unit the lengths, an output's pin
// function and switching mode its switching settings, the analog mode its
// limits. The sensor checks and keeps a value against the settings it holds
// when the value arrives, so such a parameter goes after the one it depends
// on, and goes again whenever that one goes, even when it did not differ.

// The parameters that depend directly on id; empty for most.
QStringList dependentsOf(const QString& id);

// ids as the sensor gets them: in their own order, except that a parameter
// comes after every parameter of ids that it depends on.
QStringList writeOrder(const QStringList& ids);

// What a write of the differing parameters sends, in the order of order
// (itself a writeOrder): each of them, and, with each, every parameter of
// order that depends on it, directly or through another.
QStringList differingWrites(const QStringList& order, const QSet<QString>& differing);

} // namespace NimbarSensorPlugin::Core
