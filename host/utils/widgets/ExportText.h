#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace Utils {

class ValueOverTime;

// Which separators the user ticked in the export dialog; several ticked boxes make a
// separator of several characters.
struct ExportDelimiterChoice
{
    bool tab = false;
    bool comma = false;
    bool semicolon = false;
    bool space = false;
    bool other = false;
    QString otherText;
};

// The separator in the fixed order tab, comma, semicolon, space, free text (as Latin-1).
QByteArray exportDelimiter(const ExportDelimiterChoice& choice);

// The words of the export's header line, one per column.
struct ExportHeader
{
    QString time;
    QString value;
    QString unit;
    QString state;
};

// The export file text: a header line of four columns, then one line per sample: local date and
// time of x (milliseconds since the epoch) as "dd-MM-yyyy hh:mm:ss.zzz", y rounded to a whole
// number, the unit, and the name of the sample's state (see sampleStateName). A sample without
// a value (a gap or a state) leaves the value empty and names its state; a value leaves the
// state empty. Fields are joined by the delimiter; lines end with a line feed; the text is
// Latin-1, like the delimiter. maxSamples < 0 takes every sample, otherwise at most that many
// from the start.
QByteArray exportText(const ValueOverTime& data, const QByteArray& delimiter, const ExportHeader& header,
                      const QString& unit, int maxSamples = -1);

// Writes content to path through a temporary file beside it that replaces the target only once
// everything is written, so a failed export leaves the old file as it was. Only a regular file
// or a new name is taken as target: a device or a pipe is neither removed nor written. Returns
// empty on success, otherwise what went wrong, for the user.
QString saveExportFile(const QString& path, const QByteArray& content);

// The file name offered when the user browses for the export target, e.g. export-04-12-2026.csv.
QString proposedExportFileName(const QDate& date);

} // namespace Utils
