#pragma once

// What the rigs share: the workbench with one sensor window and its
// protocol trace.

#include <TraceAnalysis.h>

#include <PluginLibrary.h>
#include <WorkbenchWindow.h>
#include <window/SensorWindow.h>

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

struct SensorWindowRig
{
    SensorWindowRig(const PluginLibrary& plugin, const QString& file) : workbench(plugin), trace(file) {}

    // Starts the trace and opens the window; the machine's own serial ports stay out of its selector.
    void open(const QString& sensorName)
    {
        restartTrace(trace);
        workbench.setPortLister([] { return QStringList(); });
        workbench.openSensor(sensorName);
        window = qobject_cast<NimbarSensorPlugin::Core::SensorWindow*>(
            workbench.mdiArea()->subWindowList().value(0)->widget());
    }

    void invoke(const char* slot, QGenericArgument argument = QGenericArgument())
    {
        QVERIFY(QMetaObject::invokeMethod(window, slot, argument));
    }
    // Chooses the port in the selector as a user does; the test answers the connection question.
    void choose(const QString& port)
    {
        window->portSelector()->setCurrentIndex(window->portSelector()->findText(port));
        invoke("actionConnectSensor", Q_ARG(int, window->portSelector()->currentIndex()));
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
};
