#pragma once

// The workbench with one sensor window whose port is the simulator's
// pseudo-terminal, reached through the serial port path as a real master on
// a USB adapter is; what the window says in its status bar; and a timer
// that shows whether the window kept answering.

#include <ModalAnswers.h>
#include <SensorWindowRig.h>
#include <WaitUntil.h>

#include <window/SensorWindowForm.h>

#include <QElapsedTimer>
#include <QStatusBar>
#include <QTimer>

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

struct PtyRig : SensorWindowRig
{
    PtyRig(const PluginLibrary& plugin, const QString& traceFile, const QString& sensorName)
        : SensorWindowRig(plugin, traceFile)
    {
        open(sensorName);
        if (window)
            messageWatch = QObject::connect(window->statusBar(), &QStatusBar::messageChanged, window,
                                            [this](const QString& message) {
                                                if (!message.isEmpty())
                                                    messages << message;
                                            });
    }
    // The window still talks while the workbench closes it.
    ~PtyRig() { QObject::disconnect(messageWatch); }

    // Offers the port to the window, as the workbench offers a --port path.
    void offer(const QString& path)
    {
        workbench.hostPorts().addPath(path);
        workbench.refreshPorts();
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

    QStringList messages;
    QMetaObject::Connection messageWatch;
};
