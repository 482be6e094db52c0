#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

namespace NimbarSensorPlugin::Core {

class ParameterModel;
class ParameterTree;

// One parameter as the tree shows it, and what the reader of the report
// must know about that value.
struct ReportRow
{
    QString caption;
    // With its unit, choices by their text.
    QString value;
    // The value was never read from the sensor, or its last read failed.
    bool notRead = false;
    // Why the row does not show what the sensor holds; empty when it does.
    QString mark;
    // The compared settings file holds another value, fileValue.
    bool differs = false;
    QString fileValue;
};

struct ReportGroup
{
    QString caption;
    QList<ReportRow> rows;
};

// What a commissioning report records: who the sensor is, where and when it
// was commissioned, with which program, and every parameter.
struct ReportContent
{
    QString sensorName;
    // Caption and value of each identity line, in the order shown.
    QList<QPair<QString, QString>> identity;
    QString port;
    QDateTime printed;
    QString program;
    QList<ReportGroup> groups;
    // The file name of the settings file last saved or opened; empty when
    // none was, and no row can differ from one.
    QString comparedFile;
    // Why comparedFile could not be compared; empty when it was.
    QString comparisonProblem;
};

// A settings file's value by row id, as the row would show it.
using FileValues = QMap<QString, QString>;

// Builds a commissioning report and writes it as a PDF file.
class CommissioningReport
{
    Q_DECLARE_TR_FUNCTIONS(CommissioningReport)
public:
    // The rows of the tree's groups, in its order, each group's caption a
    // heading; nested groups are headed by their path. Rows in fileValues
    // differ from the compared file.
    static QList<ReportGroup> groups(const ParameterTree& tree, const ParameterModel& model,
                                     const FileValues& fileValues);

    // The report as rich text; the chart is the image named chartName, left
    // out when chartName is empty.
    static QString html(const ReportContent& content, const QString& chartName);

    // Lays out html on A4 pages with chart as the image it names and writes
    // them to fileName whole: a failure leaves an older file as it was.
    // Empty on success, otherwise the reason, naming the file.
    static QString writePdf(const QString& fileName, const QString& html, const QImage& chart);

    // The image name html() refers to the chart by.
    static QString chartName() { return QStringLiteral("chart.png"); }
};

} // namespace NimbarSensorPlugin::Core
