#pragma once

#include "AnswerSchedule.h"
#include "SimulatedMaster.h"

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
class QTemporaryDir;

namespace IoLinkSimulator {

class AnswerPacer;

// Serves the simulated master on a pseudo-terminal, so that clients reach it
// through an ordinary serial-port path. The server keeps the terminal side
// open itself: its raw settings then hold for every client, answers wait for
// a client that has not read them yet, and a client closing the path does
// not end the service; the next one may open it again.
class PtyServer : public QObject
{
    Q_OBJECT
public:
    explicit PtyServer(std::unique_ptr<SensorModel> model, QObject* parent = nullptr);
    ~PtyServer() override;

    bool open(QString* error);
    // The path clients open: a link of a name never served before, e.g.
    // /tmp/iolink-sim-Ab12Cd/port, to the pseudo-terminal.
    QString path() const { return m_path; }
    // The pseudo-terminal itself, e.g. /dev/pts/3.
    QString terminalPath() const { return m_terminalPath; }

    SimulatedMaster& master() { return m_master; }
    AnswerSchedule& schedule();

private slots:
    void readRequests();
    void writePending();
    void queueAnswer(const QByteArray& bytes);

private:
    void closeAll();

    SimulatedMaster m_master;
    AnswerPacer* m_pacer;
    int m_masterFd = -1;
    int m_terminalFd = -1;
    QString m_path;
    QString m_terminalPath;
    std::unique_ptr<QTemporaryDir> m_linkDir;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QByteArray m_outgoing;
};

} // namespace IoLinkSimulator
