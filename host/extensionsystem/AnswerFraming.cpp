#include "AnswerFraming.h"

#include <QRegularExpression>

namespace ExtensionSystem {

int completeFrameLength(const QByteArray& received)
{
    if (received.isEmpty())
        return 0;
    const int length = 1 + static_cast<quint8>(received.at(0));
    return received.size() >= length ? length : 0;
}

int frameCommand(const QByteArray& frame)
{
    if (frame.size() < 3 || completeFrameLength(frame) != frame.size())
        return -1;
    return static_cast<quint8>(frame.at(2)) & 0x7F;
}

bool checkOctetFits(const QByteArray& frame)
{
    if (frame == QByteArray("\x05"
                            "ERROR",
                            6))
        return true;
    if (frame.size() < 3 || completeFrameLength(frame) != frame.size())
        return false;
    quint8 sum = 0x52 ^ 0x40;
    for (int i = 2; i < frame.size(); ++i)
        sum ^= static_cast<quint8>(frame.at(i));
    const auto bit = [sum](int position) { return (sum >> position) & 1; };
    const int folded = (bit(7) ^ bit(5) ^ bit(3) ^ bit(1)) << 5 | (bit(6) ^ bit(4) ^ bit(2) ^ bit(0)) << 4 |
                       (bit(7) ^ bit(6)) << 3 | (bit(5) ^ bit(4)) << 2 | (bit(3) ^ bit(2)) << 1 |
                       (bit(1) ^ bit(0));
    return static_cast<quint8>(frame.at(1)) == (0x40 | folded);
}

int32_t answerStatus(const QByteArray& answer, const QString& pattern)
{
    if (pattern.isEmpty())
        return 1;
    const QRegularExpression expression(QRegularExpression::anchoredPattern(pattern),
                                        QRegularExpression::DotMatchesEverythingOption);
    if (!expression.isValid())
        return 2;
    return expression.match(QString::fromLatin1(answer)).hasMatch() ? 1 : 2;
}

} // namespace ExtensionSystem
