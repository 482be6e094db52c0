#pragma once

#include "SimulatedMaster.h"

#include <QIODevice>

#include <memory>

namespace IoLinkSimulator {

class AnswerPacer;

// An in-process serial port with the simulated master and its sensor at the
// far end. Written request bytes are taken at once; answers become readable
// later, from the event loop (readyRead), once the simulated wire time for
// the baud rate has passed, each answer in one piece.
class SimulatedPortDevice : public QIODevice
{
    Q_OBJECT
public:
    explicit SimulatedPortDevice(std::unique_ptr<SensorModel> model, QObject* parent = nullptr);
    ~SimulatedPortDevice() override;

    // Fails with the error text "unplugged" while the cable is out.
    bool open(OpenMode mode) override;
    void close() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // Written bytes are never held back.
    bool waitForBytesWritten(int msecs) override;

    void setBaudRate(qint32 baudRate);
    qint32 baudRate() const;
    // Without wire time answers come on the next turn of the event loop.
    void setWireTimeEnabled(bool enabled);
    bool wireTimeEnabled() const;

    // Pulls the cable: the device closes (aboutToClose is emitted) and
    // cannot be opened until plugIn().
    void unplug();
    void plugIn();
    bool isUnplugged() const { return m_unplugged; }

    SimulatedMaster& master() { return m_master; }
    SensorModel& model() { return m_master.model(); }
    FaultPlan& faults() { return m_master.faults(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private slots:
    void takeAnswer(const QByteArray& bytes);

private:
    SimulatedMaster m_master;
    AnswerPacer* m_pacer;
    QByteArray m_readBuffer;
    bool m_unplugged = false;
};

} // namespace IoLinkSimulator
