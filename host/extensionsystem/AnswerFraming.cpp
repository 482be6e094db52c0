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
