#include "ExportText.h"

#include <utils/FileReplace.h>
#include <utils/SampleStateName.h>
#include <utils/ValueOverTime.h>

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>

namespace Utils {

namespace {

// Converting every sample through QDateTime costs microseconds (a time-zone look-up each), too
// slow for histories of a million samples. Samples are in time order, so one conversion per
// local day suffices: within a day whose UTC offset is the same at both midnights the local
// time of day follows from the distance to midnight. Days with a daylight-saving switch take
// the slow path for every sample.
class LocalTimeFormatter
{
public:
    void append(QByteArray& out, qint64 msecs)
    {
        if (msecs < m_dayStart || msecs >= m_dayEnd)
            enterDay(msecs);
        if (msecs < m_dayStart || msecs >= m_dayEnd) {
            out += QDateTime::fromMSecsSinceEpoch(msecs)
                       .toString(QStringLiteral("dd-MM-yyyy hh:mm:ss.zzz"))
                       .toLatin1();
            return;
        }
        qint64 inDay = msecs - m_dayStart;
        char time[13];
        const int ms = int(inDay % 1000);
        inDay /= 1000;
        const int s = int(inDay % 60);
        inDay /= 60;
        const int m = int(inDay % 60);
        const int h = int(inDay / 60);
        time[0] = ' ';
        time[1] = char('0' + h / 10);
        time[2] = char('0' + h % 10);
        time[3] = ':';
        time[4] = char('0' + m / 10);
        time[5] = char('0' + m % 10);
        time[6] = ':';
        time[7] = char('0' + s / 10);
        time[8] = char('0' + s % 10);
        time[9] = '.';
        time[10] = char('0' + ms / 100);
        time[11] = char('0' + ms / 10 % 10);
        time[12] = char('0' + ms % 10);
        out.append(m_date);
        out.append(time, sizeof time);
    }

private:
    void enterDay(qint64 msecs)
    {
        const QDate day = QDateTime::fromMSecsSinceEpoch(msecs).date();
        const QDateTime midnight(day, QTime(0, 0));
        const QDateTime nextMidnight(day.addDays(1), QTime(0, 0));
        if (midnight.isValid() && nextMidnight.isValid() &&
            midnight.offsetFromUtc() == nextMidnight.offsetFromUtc()) {
            m_dayStart = midnight.toMSecsSinceEpoch();
            m_dayEnd = nextMidnight.toMSecsSinceEpoch();
            m_date = day.toString(QStringLiteral("dd-MM-yyyy")).toLatin1();
        } else {
            m_dayStart = m_dayEnd = 0;
        }
    }

    qint64 m_dayStart = 0;
    qint64 m_dayEnd = 0;
    QByteArray m_date;
};

} // namespace

QByteArray exportDelimiter(const ExportDelimiterChoice& choice)
{
    QByteArray delimiter;
    if (choice.tab)
        delimiter += '\t';
    if (choice.comma)
        delimiter += ',';
    if (choice.semicolon)
        delimiter += ';';
    if (choice.space)
        delimiter += ' ';
    if (choice.other)
        delimiter += choice.otherText.toLatin1();
    return delimiter;
}

// The unit and state columns depart on purpose from the older two-column export: a row without
// a value says why, and the numbers say in which unit they are.
QByteArray exportText(const ValueOverTime& data, const QByteArray& delimiter, const ExportHeader& header,
                      const QString& unit, int maxSamples)
{
    const int count = maxSamples < 0 ? data.size() : std::min(maxSamples, data.size());
    // Everything after the value, per state: the unit and the state's name.
    QByteArray tails[5];
    for (SampleState state : {SampleState::Value, SampleState::Gap, SampleState::TooClose,
                              SampleState::TooFar, SampleState::NoData})
        tails[int(state)] =
            delimiter + unit.toLatin1() + delimiter + sampleStateName(state).toLatin1() + '\n';

    QByteArray text;
    // Date and time take 23 characters; values are mostly short.
    text.reserve(64 + count * (23 + delimiter.size() + 8 + tails[0].size()));
    text += header.time.toLatin1() + delimiter + header.value.toLatin1() + delimiter +
            header.unit.toLatin1() + delimiter + header.state.toLatin1() + '\n';
    LocalTimeFormatter formatter;
    const double* x = data.pxData();
    const double* y = data.pyData();
    const SampleState* states = data.stateData();
    for (int i = 0; i < count; ++i) {
        formatter.append(text, qint64(x[i]));
        text += delimiter;
        if (states[i] == SampleState::Value)
            text += QByteArray::number(y[i], 'f', 0);
        text += tails[int(states[i])];
    }
    return text;
}

QString saveExportFile(const QString& path, const QByteArray& content)
{
    const QString problem = replaceFileContent(path, content);
    if (problem.isEmpty())
        return problem;
    return QCoreApplication::translate("ExportText", "Cannot export to %1: %2").arg(path, problem);
}

QString proposedExportFileName(const QDate& date)
{
    return date.toString(QStringLiteral("'export-'dd-MM-yyyy'.csv'"));
}

} // namespace Utils
