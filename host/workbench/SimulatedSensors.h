#pragma once

#include <QString>

class HostPorts;

// Adds a simulated sensor for spec ("MODEL" or "MODEL/VARIANT", as in the
// description document) as a port of its own, named "SIM<n>-MODEL-VARIANT"
// so that a user sees in the port list what answers there. Returns the port
// name, or an empty text with the reason in *error. A seed of 0 gives each
// run other target motion; tests give a seed of their own to repeat a run.
QString addSimulatedSensor(HostPorts& ports, const QString& spec, const QString& documentPath, QString* error,
                           quint32 seed = 0);
