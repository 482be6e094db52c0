// The master's answers as the plug-in reads them: cleaning, error detection,
// the numbers, texts and flags of a fetch, the status poll's records, and the
// parameter addresses of the description document, which arrive as text.
#include "FuzzSupport.h"

#include <link/ProcessData.h>
#include <link/RequestFrames.h>
#include <parameters/ValueCodec.h>

namespace Core = NimbarSensorPlugin::Core;

void Fuzz::run(const QByteArray& answer)
{
    Core::stripAnswer(answer, 0);
    if (answer.size() > 1 && Core::stripAnswer(answer, 3).contains('\0'))
        Fuzz::fail("stripAnswer left a zero byte");
    Core::isRefusedTagAnswer(answer);
    const bool error = Core::isErrorAnswer(answer);
    const Core::FetchFailure failure = Core::fetchFailure(answer);
    const quint16 code = Core::fetchErrorCode(answer);
    if (error && (failure == Core::FetchFailure::None || code == 0))
        Fuzz::fail("an error answer reads as a value");
    if (code != 0 && failure == Core::FetchFailure::None)
        Fuzz::fail("an error code without a failure");
    const int number = Core::answerNumber(answer);
    if (number < 0 || number > 0xFFFF)
        Fuzz::fail("answerNumber outside 16 bits");
    Core::answerBool(answer);
    Core::answerText(answer);
    bool parsed = false;
    Core::answerSelfReadOnly(answer).toInt(&parsed);
    if (!parsed)
        Fuzz::fail("answerSelfReadOnly is not a number");

    const int distance = Core::processDataDistanceCode(answer);
    Core::processDataStatusBits(answer);
    Core::distanceKind(distance);
    Core::shownDistance(distance, 0);
    Core::shownDistance(distance, 1);
    if (const auto echoes = Core::decodeEchoRecord(answer)) {
        for (const int echo : echoes->distanceCodes) {
            Core::distanceKind(echo);
            Core::shownDistance(echo, 0);
        }
    }
    if (const auto counter = Core::crashCounterFromAnswer(answer);
        counter && (*counter < 0 || *counter > 0xFFFF))
        Fuzz::fail("crash counter outside 16 bits");

    if (const auto address = Core::parseParameterAddress(QString::fromUtf8(answer))) {
        if (Core::valueBytes(0, address->size).isEmpty())
            Fuzz::fail("an accepted address has no value layout");
        const auto again = Core::parseParameterAddress(
            QStringLiteral("%1;%2;%3").arg(address->index).arg(address->subIndex).arg(address->size));
        if (!again || again->index != address->index || again->subIndex != address->subIndex ||
            again->size != address->size)
            Fuzz::fail("a parsed address does not read back");
    }
}
