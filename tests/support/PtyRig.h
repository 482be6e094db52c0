#pragma once

// The workbench with one sensor window whose port is the simulator's
// pseudo-terminal, reached through the serial port path as a real master on
// a USB adapter is; what the window says in its status bar; and a timer
// that shows whether the window kept answering.

#include <ModalAnswers.h>
#include <TraceAnalysis.h>
#include <WaitUntil.h>

#include <PluginLibrary.h>
#include <WorkbenchWindow.h>
#include <window/SensorWindow.h>
#include <window/SensorWindowForm.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include <algorithm>

// The longest time between two ticks of a timer in the window's thread: how
// long the window did not answer at worst.
class TickWatch : public QObject
{
public:
    TickWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this,
                [this] { m_longestMs = qMax(m_longestMs, m_sinceTick.restart()); });
    }

    void start()
    {
        m_longestMs = 0;
        m_sinceTick.start();
        m_timer.start(50);
    }
    void stop()
    {
        m_longestMs = qMax(m_longestMs, m_sinceTick.elapsed());
        m_timer.stop();
    }
    qint64 longestGapMs() const { return m_longestMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longestMs = 0;
};

struct PtyRig
{
    PtyRig(const PluginLibrary& plugin, const QString& traceFile, const QString& sensorName)
        : workbench(plugin), trace(traceFile)
    {
        QString error;
        workbench.hostPorts().setTraceFile(trace, &error);
        workbench.setPortLister([] { return QStringList(); });
        workbench.openSensor(sensorName);
        window = qobject_cast<NimbarSensorPlugin::Core::SensorWindow*>(
            workbench.mdiArea()->subWindowList().value(0)->widget());
        if (window)
            messageWatch = QObject::connect(window->statusBar(), &QStatusBar::messageChanged, window,
                                            [this](const QString& message) {
                                                if (!message.isEmpty())
                                                    messages << message;
                                            });
    }
    // The window still talks while the workbench closes it.
    ~PtyRig() { QObject::disconnect(messageWatch); }
    PtyRig(const PtyRig&) = delete;
    PtyRig& operator=(const PtyRig&) = delete;

    // Offers the port to the window, as the workbench offers a --port path.
    void offer(const QString& path)
    {
        workbench.hostPorts().addPath(path);
        workbench.refreshPorts();
    }
    // Chooses the port in the selector as a user does; the connection
    // question is answered by a DialogAnswers.
    void choose(const QString& path)
    {
        const int index = window->portSelector()->findText(path);
        window->portSelector()->setCurrentIndex(index);
        QVERIFY(QMetaObject::invokeMethod(window, "actionConnectSensor", Q_ARG(int, index)));
    }
    void goOffline() { QMetaObject::invokeMethod(window, "actionConnectSensor", Q_ARG(int, 0)); }

    bool popupShown() const
    {
        const QWidget* popup = window->findChild<QWidget*>("DataFrameSenderUi");
        return popup && popup->isVisible();
    }
    // The status bar says nothing when a message repeats the one shown: it
    // is cleared along with what was kept.
    void forgetMessages()
    {
        window->statusBar()->clearMessage();
        messages.clear();
    }
    bool sawMessage(const QString& start) const
    {
        return std::any_of(messages.cbegin(), messages.cend(),
                           [&start](const QString& message) { return message.startsWith(start); });
    }

    // Requests since the trace was last started, as hex.
    QStringList sent() const { return TraceLines::read(trace).requests(); }
    QStringList writes() const { return writesOf(sent()); }
    void restartTrace(const QString& traceFile)
    {
        trace = traceFile;
        QString error;
        workbench.hostPorts().setTraceFile(trace, &error);
    }

    WorkbenchWindow workbench;
    QString trace;
    NimbarSensorPlugin::Core::SensorWindow* window = nullptr;
    QStringList messages;
    QMetaObject::Connection messageWatch;
};
