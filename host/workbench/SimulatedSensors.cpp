#include "SimulatedSensors.h"

#include "HostPorts.h"

#include <SensorModel.h>
#include <SimulatedPortDevice.h>

#include <QCoreApplication>
#include <QDateTime>

QString addSimulatedSensor(HostPorts& ports, const QString& spec, const QString& documentPath, QString* error,
                           quint32 seed)
{
    const QString modelId = spec.section('/', 0, 0).trimmed();
    const QString variant = spec.section('/', 1).trimmed();
    if (modelId.isEmpty()) {
        *error = QCoreApplication::translate("SimulatedSensors",
                                             "a simulated sensor needs a model id, as in UM035 or UM035/107");
        return QString();
    }
    if (seed == 0)
        seed = quint32(QDateTime::currentMSecsSinceEpoch());
    auto model = IoLinkSimulator::SensorModel::create(documentPath, modelId, variant, seed, error);
    if (!model)
        return QString();
    const QString name =
        QString("SIM%1-%2").arg(ports.simulatedCount() + 1).arg(model->description().identityText());
    const QString catalogueId = model->description().modelId;
    auto* device = new IoLinkSimulator::SimulatedPortDevice(std::move(model), &ports);
    ports.addSimulated(
        name, device,
        [](QIODevice* d, int baudRate) {
            static_cast<IoLinkSimulator::SimulatedPortDevice*>(d)->setBaudRate(baudRate);
        },
        catalogueId);
    return name;
}
