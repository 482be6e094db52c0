#pragma once

#include <QObject>
#include <QString>

namespace NimbarSensorPlugin::Core {

class LinkSession;

// Whether the identity a sensor gives names the model reference: its
// characters 0 and 2 to 4 must match.
bool identityMatches(const QString& identity, const QString& reference);

// Connecting to a sensor: the line check, up to five attempts, each at the
// default baud rate; then asking the sensor who it is, up to ten attempts.
// A master that answers nothing of a whole identity attempt is gone: the
// attempts left would only wait out their time-outs.
class SensorConnection : public QObject
{
    Q_OBJECT
public:
    enum class Step
    {
        CheckingLine,
        AskingIdentity
    };
    enum class Failure
    {
        None,
        PortLost,
        NoAnswer,
        WrongIdentity
    };
    struct Result
    {
        Failure failure = Failure::None;
        // Attempts made in all, line checks and identity attempts.
        int attempts = 0;
        // The identity the sensor gave last; empty when it gave none.
        QString identity;
    };

    // fetchTimeoutMs: how long the identity's fetch may take on this line.
    SensorConnection(LinkSession& link, const QString& reference, double fetchTimeoutMs);

    Result run(bool showWait);

    // What an attempt does, and what went wrong, in the user's words.
    static QString attemptText(Step step, const QString& port, int attempt, int attempts);
    static QString failureText(const Result& result, const QString& port);

signals:
    void attempting(NimbarSensorPlugin::Core::SensorConnection::Step step, int attempt, int attempts);

private:
    bool askIdentity(QString* identity);

    LinkSession& link;
    QString reference;
    double fetchTimeoutMs;
};

} // namespace NimbarSensorPlugin::Core
