// The master's answers as the plug-in reads them: cleaning, error detection
// and the numbers, texts and flags of a fetch; and the parameter addresses of
// the description document, which arrive as text.
#include "FuzzSupport.h"

#include <link/RequestFrames.h>
#include <parameters/ValueCodec.h>

namespace Core = NimbarSensorPlugin::Core;

void Fuzz::run(const QByteArray& answer)
{
    Core::stripAnswer(answer, 0);
    const QByteArray stripped = Core::stripAnswer(answer, 3);
    if (answer.size() > 1 && stripped.contains('\0'))
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

    const QString text = QString::fromUtf8(answer);
    if (const auto address = Core::parseParameterAddress(text)) {
        if (Core::valueBytes(0, address->size).isEmpty())
            Fuzz::fail("an accepted address has no value layout");
        const QString written =
            QStringLiteral("%1;%2;%3").arg(address->index).arg(address->subIndex).arg(address->size);
        const auto again = Core::parseParameterAddress(written);
        if (!again || again->index != address->index || again->subIndex != address->subIndex ||
            again->size != address->size)
            Fuzz::fail("a parsed address does not read back");
    }
}
