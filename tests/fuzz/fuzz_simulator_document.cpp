// The simulator's description loader on a document of arbitrary bytes: it
// either loads a model or says why not, for the first variant and a named one.
#include "FuzzSupport.h"

#include <SensorDescription.h>

void Fuzz::run(const QByteArray& input)
{
    const QString path = Fuzz::scratchFile(input);
    for (const char* variant : {"", "107"}) {
        QString error;
        const auto description = IoLinkSimulator::loadSensorDescription(path, QStringLiteral("UM035"),
                                                                        QLatin1String(variant), &error);
        if (!description && error.isEmpty())
            Fuzz::fail("a refused description must say why");
        if (description) {
            for (const auto& parameter : description->parameters)
                description->find(parameter.address);
        }
    }
}
