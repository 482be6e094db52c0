#pragma once

// A protocol trace's requests and answers, and the checks that every
// exchange went out whole; the benchmarks read traces too.

#include <FileFaults.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Bytes as the trace writes them: hex, separated by blanks.
inline QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

struct TraceLine
{
    double ms = 0.0;
    QChar direction; // '>' request, '<' answer, '!' event
    QString bytes;   // hex, separated by blanks
};

struct TraceLines
{
    QList<TraceLine> lines;

    static TraceLines read(const QString& fileName)
    {
        TraceLines trace;
        for (const QString& text : QString::fromLatin1(contentOf(fileName)).split('\n')) {
            const QStringList fields = text.simplified().split(' ');
            if (fields.size() > 3 && fields[1].size() == 1)
                trace.lines.append(
                    TraceLine{fields[0].toDouble(), fields[1][0], QStringList(fields.mid(3)).join(' ')});
        }
        return trace;
    }

    QStringList requests() const
    {
        QStringList requests;
        for (const TraceLine& line : lines) {
            if (line.direction == '>')
                requests << line.bytes;
        }
        return requests;
    }
};

// Fails a test naming the entries when the list is not empty.
#define VERIFY_NONE(list)                                                                                    \
    do {                                                                                                     \
        const QStringList found = (list);                                                                    \
        QVERIFY2(found.isEmpty(), qPrintable(found.join("; ")));                                             \
    } while (false)

// The write requests among requests.
inline QStringList writesOf(const QStringList& requests)
{
    return requests.filter(QRegularExpression("^.. .. 24 "));
}

// Requests that came between a read request and the fetch of its value,
// other than the process-data requests that belong there. Each one means
// that a fetch may have brought another read's value.
inline QStringList requestsBetweenReadsAndFetches(const QStringList& sent)
{
    QStringList intruders;
    for (int k = 0; k < sent.size(); ++k) {
        if (!sent[k].contains(QRegularExpression("^05 .. 26 ")))
            continue;
        for (int next = k + 1; next < sent.size() && sent[next] != "02 73 27"; ++next) {
            if (sent[next] != "02 70 22")
                intruders << sent[k] + " ... " + sent[next];
        }
    }
    return intruders;
}

// Writes not sent right after the fetch that belongs to them (the tag
// writes after their own preparing request).
inline QStringList writesApartFromTheirFetch(const QStringList& sent)
{
    QStringList apart;
    for (int k = 0; k < sent.size(); ++k) {
        if (!sent[k].contains(QRegularExpression("^.. .. 24 ")))
            continue;
        const QString before = k > 0 ? sent[k - 1] : QString();
        const bool tag = sent[k].startsWith("25 ");
        if (before != (tag ? "02 52 25" : "02 73 27"))
            apart << before + " / " + sent[k];
    }
    return apart;
}
