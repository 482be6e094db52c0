#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

namespace NimbarSensorPlugin::Core {

enum class FetchFailure;
class LinkSession;
class ParameterModel;
class ParameterTree;

// Reads parameters from the sensor into the model, one or all, each read an
// exchange of its own over the link session. A read that brings no value
// leaves the row as it was and marks it, so that what the tree shows is
// never taken for the sensor's when it is not.
class ParameterReader : public QObject
{
    Q_OBJECT
public:
    ParameterReader(LinkSession& link, ParameterTree& tree, ParameterModel& model, QObject* parent = nullptr);

    struct Options
    {
        // The busy pop-up while the sensor fetches a value.
        bool showWait = true;
        // The identity texts are taken when connecting, not with the settings.
        bool identityTexts = true;
    };

    // True when the row now shows what the sensor holds; a button has
    // nothing to read and counts as read.
    bool read(const QString& id, bool showRequestWait, const Options& options);
    // Every parameter in the order of their ids. mayGoOn is asked before
    // each read (a lost sensor ends the loop; the rows not read stay marked),
    // progress is told of it. The ids of the rows the read was meant for.
    QStringList readAll(const Options& options, const std::function<bool()>& mayGoOn,
                        const std::function<void(int done, int total)>& progress);
    // Firmware, sensor number, serial number and hardware revision, with the
    // pauses the sensor needs between them.
    void readIdentityTexts(const Options& options);

    // The switching point and window limits a teach of output ("A1" or
    // "A2") set, with the pauses the sensor needs between the reads.
    // False when mayGoOn ended it first.
    bool readTaughtThresholds(const QString& output, const Options& options,
                              const std::function<bool()>& mayGoOn);

    static QString failureText(FetchFailure failure, const QByteArray& answer);

private:
    LinkSession& m_link;
    ParameterTree& m_tree;
    ParameterModel& m_model;
    // Tags the sensor refused while busy: read again at the end of a read of all.
    QStringList m_retry;
};

} // namespace NimbarSensorPlugin::Core
