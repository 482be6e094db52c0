// The status poll's answers: the process-data record, the echo record and the
// crash counter, decoded from arbitrary bytes.
#include "FuzzSupport.h"

#include <link/ProcessData.h>

namespace Core = NimbarSensorPlugin::Core;

void Fuzz::run(const QByteArray& answer)
{
    const int code = Core::processDataDistanceCode(answer);
    Core::processDataStatusBits(answer);
    Core::distanceKind(code);
    Core::shownDistance(code, 0);
    Core::shownDistance(code, 1);

    if (const auto echoes = Core::decodeEchoRecord(answer)) {
        for (int i = 0; i < 4; ++i) {
            Core::distanceKind(echoes->distanceCodes[std::size_t(i)]);
            Core::shownDistance(echoes->distanceCodes[std::size_t(i)], 0);
        }
    }
    if (const auto counter = Core::crashCounterFromAnswer(answer)) {
        if (*counter < 0 || *counter > 0xFFFF)
            Fuzz::fail("crash counter outside 16 bits");
    }
}
