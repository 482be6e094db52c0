#pragma once

#include <ModalAnswers.h>
#include <SensorWindowRig.h>
#include <TestDocuments.h>

#include <SensorModel.h>
#include <SimulatedPortDevice.h>
#include <SimulatedSensors.h>
#include <link/RequestFrames.h>
#include <parameters/ValueCodec.h>
#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

// The workbench with one simulated sensor and one sensor window. With the
// wire time on, answers take as long as on a 38400-baud line. A seed makes
// the target motion and the crash counter repeat; without one they change
// from run to run, as in the workbench.
struct LinkRig : SensorWindowRig
{
    LinkRig(const PluginLibrary& plugin, const QString& document, const QString& traceFile,
            const QString& spec, const QString& sensorName, bool wireTime, quint32 seed = 0)
        : SensorWindowRig(plugin, traceFile)
    {
        QString error;
        port = addSimulatedSensor(workbench.hostPorts(), spec, document, &error, seed);
        // Every test goes on to use the sensor: without one it stops here, saying why.
        if (port.isEmpty())
            qFatal("no simulated sensor %s: %s", qPrintable(spec), qPrintable(error));
        device = static_cast<IoLinkSimulator::SimulatedPortDevice*>(workbench.hostPorts().simulated(port));
        device->setWireTimeEnabled(wireTime);
        open(sensorName);
    }

    void clearTrace() { restartTrace(trace); }
    // The connecting helpers check that the window is connected afterwards.
    void connectReading()
    {
        DialogAnswers answers({::choose("sensorToPc")});
        connectChecked();
    }
    // Answers the connection question with the Enter key.
    void connectPressingEnter()
    {
        ModalStep enter([](QWidget* question) { QTest::keyClick(question, Qt::Key_Return); });
        connectChecked();
    }
    // "PC -> Sensor", writing only what differs from the sensor or everything.
    void connectOverwriting(bool onlyDifferences = true)
    {
        DialogAnswers answers({::choose("pcToSensor"), {QString(), QMessageBox::Ok, !onlyDifferences}});
        connectChecked();
    }
    void connectChecked()
    {
        choose(port);
        QVERIFY(window->isConnected());
    }

    QtProperty* property(const QString& id) const { return window->findProperty(window->rootProperty(), id); }
    template <class Manager> Manager* manager(const QString& id) const
    {
        QtProperty* p = property(id);
        return p ? qobject_cast<Manager*>(p->propertyManager()) : nullptr;
    }
    bool visible(const char* id) const
    {
        QtProperty* p = property(id);
        const QList<QtBrowserItem*> items =
            p ? window->parameterBrowser()->items(p) : QList<QtBrowserItem*>();
        return !items.isEmpty() && window->parameterBrowser()->isItemVisible(items.first());
    }
    // Why the row is marked, empty when it is not.
    QString mark(const QString& id) const { return window->rowMark(id); }
    // The number the simulated sensor holds for a parameter.
    qlonglong simulated(const QString& id) const { return device->model().parameterValue(id).toLongLong(); }
    // Sets a parameter on the simulated sensor behind the window's back.
    void setOnSensor(const QString& id, int value)
    {
        const auto address =
            NimbarSensorPlugin::Core::parseParameterAddress(window->parameterAddressMap().value(id));
        QVERIFY2(address, qPrintable(id));
        device->model().answer(NimbarSensorPlugin::Core::writeRequest(*address, value));
        QCOMPARE(simulated(id), qlonglong(value));
    }

    QString port;
    IoLinkSimulator::SimulatedPortDevice* device = nullptr;
};

// Edits made while the window still settles after a sequence stay in the
// window: tests edit once its pop-up has gone and live data run again.
inline void waitForLiveData(const LinkRig& r)
{
    QTRY_VERIFY_WITH_TIMEOUT(!r.window->findChild<QWidget*>("DataFrameSenderUi")->isVisible(), 15000);
    const int samples = r.window->chart()->getData(0)->size();
    QTRY_VERIFY_WITH_TIMEOUT(r.window->chart()->getData(0)->size() >= samples + 3, 10000);
}

// Whether a length row shows inches: the switching point's caption names the unit.
inline bool shownInInches(const LinkRig& rig, const QString& id)
{
    QtProperty* point = rig.property("SwitchingThresholdA1");
    return rig.manager<QtDoublePropertyManager>(id) && point && point->propertyName().endsWith("(inch)");
}

// What a row shows and what the simulated sensor holds, in the row's terms: lengths in the row's unit to
// the editor's decimals, enumerations as list positions, texts without their padding.
inline std::pair<QString, QString> rowAndSensor(const LinkRig& rig, const QString& id, const QString& variant)
{
    using namespace NimbarSensorPlugin::Core;
    QtProperty* p = rig.property(id);
    const QVariant held = rig.device->model().parameterValue(id);
    const qlonglong number = held.toLongLong() & 0xFFFF;
    if (auto* doubles = rig.manager<QtDoublePropertyManager>(id)) {
        const int decimals = doubles->decimals(p);
        const double scale = shownInInches(rig, id) ? 25.4 : 1.0;
        // The sensor's "no limit" shows as the largest far end.
        const double millimetres = id == "DetectionRangeFar" && number == 30000
                                       ? qRound(doubles->maximum(p) * scale)
                                       : double(number);
        return {QString::number(doubles->value(p), 'f', decimals),
                QString::number(millimetres / scale, 'f', decimals)};
    }
    if (auto* ints = rig.manager<QtIntPropertyManager>(id))
        return {QString::number(ints->value(p)), QString::number(number)};
    if (auto* bools = rig.manager<QtBoolPropertyManager>(id))
        return {bools->value(p) ? "1" : "0", number != 0 ? "1" : "0"};
    if (auto* enums = rig.manager<QtEnumPropertyManager>(id))
        return {QString::number(enums->value(p)),
                QString::number(id == "TeachLoked" ? teachLockPosition(int(number))
                                                   : enumPositionForCode(id, int(number), variant))};
    if (auto* strings = rig.manager<QtStringPropertyManager>(id))
        return {strings->value(p), id.contains("SelfReadOnly")
                                       ? QString::number(qint32(held.toLongLong()))
                                       : QString::fromUtf8(held.toByteArray().replace('\0', ""))};
    return {};
}

// Rows whose value differs from what the simulated sensor holds, as "id: tree ..., sensor ...", unless
// the row is marked with the sensor's value; buttons and rows the variant has no counter for are left out.
inline QStringList rowsUnlikeTheSensor(const LinkRig& rig, const QString& variant)
{
    QStringList differences;
    for (const QString& id : rig.window->parameterAddressMap().keys()) {
        // The counter of a variant without the acceleration sensor does not exist. The simulation
        // distance's "off" (65536) and "on" look the same in the 16 bits a number travels in.
        if (!rig.property(id) || id.contains("BUTTON") || id == "SimulationDistanceValue" ||
            (id == "CrashCounter" && !rig.visible("CrashDetection")))
            continue;
        const auto [tree, sensor] = rowAndSensor(rig, id, variant);
        // A value the row's editor cannot hold is marked with what the sensor holds.
        if (tree != sensor && !rig.mark(id).startsWith("the sensor holds " + sensor + ";"))
            differences << id + ": tree " + tree + ", sensor " + sensor;
    }
    return differences;
}
