// Bytes from the serial line as the communication component frames them. The
// input is a pattern line (a plug-in may pass any pattern), then the bytes.
#include "FuzzSupport.h"

#include <extensionsystem/AnswerFraming.h>

namespace Framing = ExtensionSystem;

void Fuzz::run(const QByteArray& input)
{
    const int newline = input.indexOf('\n');
    const QByteArray patternLine = newline < 0 ? QByteArray() : input.left(newline);
    const QByteArray received = newline < 0 ? input : input.mid(newline + 1);

    const int length = Framing::completeFrameLength(received);
    if (length < 0 || length > received.size())
        Fuzz::fail("frame length outside the received bytes");
    if (length > 0) {
        const QByteArray frame = received.left(length);
        const int command = Framing::frameCommand(frame);
        if (command < -1 || command > 0x7F)
            Fuzz::fail("command outside seven bits");
        if (command >= 0 && frame.size() < 3)
            Fuzz::fail("a command from a frame shorter than three bytes");
    }
    Framing::frameCommand(received);

    // The input's pattern is kept short: a pathological one would only test the expression engine.
    if (Framing::answerStatus(received, QString()) != 1 || Framing::answerStatus(received, ".*") != 1)
        Fuzz::fail("an open pattern refused an answer");
    const int status = Framing::answerStatus(received, QString::fromLatin1(patternLine.left(32)));
    if (status != 1 && status != 2)
        Fuzz::fail("query status neither accepted nor refused");
}
