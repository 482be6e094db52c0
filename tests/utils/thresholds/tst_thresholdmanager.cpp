#include <utils/thresholds/ThresholdMultiManager.h>

#include <QSignalSpy>
#include <QtTest>

using Utils::ThresholdMultiManager;

class TestThresholdManager : public QObject
{
    Q_OBJECT

private slots:
    void keepsValuesPerOutputAndComponent();
    void signalsChangesOfCountedOutputsOnly();
};

void TestThresholdManager::keepsValuesPerOutputAndComponent()
{
    ThresholdMultiManager manager(0);
    QCOMPARE(manager.outputs(), 0);
    manager.setOutputs(2);
    manager.setLow(1, 0, 480.0);
    manager.setHigh(1, 0, 530.0);
    manager.setMiddle(2, 0, 700.0);
    manager.setMiddle(2, 1, 710.0);

    QCOMPARE(manager.low(1, 0), 480.0);
    QCOMPARE(manager.high(1, 0), 530.0);
    QCOMPARE(manager.middle(2, 0), 700.0);
    QCOMPARE(manager.middle(2, 1), 710.0);
    QCOMPARE(manager.low(2, 0), 0.0);
}

// Only a real change to an output that exists is reported, with its component and value.
void TestThresholdManager::signalsChangesOfCountedOutputsOnly()
{
    ThresholdMultiManager manager(2);
    QSignalSpy changed(&manager, &ThresholdMultiManager::emitValueChanged);
    manager.setHigh(1, 0, 530.0);
    manager.setHigh(1, 0, 530.0);
    manager.setLow(2, 0, 470.0);
    manager.setLow(0, 0, 10.0);
    manager.setLow(3, 0, 10.0);
    manager.setOutputs(1);
    manager.setLow(2, 0, 90.0);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0), (QVariantList{1u, 530.0}));
    QCOMPARE(changed.at(1), (QVariantList{0u, 470.0}));
    // A dropped output forgets its values.
    QCOMPARE(manager.low(2, 0), 0.0);
}

QTEST_GUILESS_MAIN(TestThresholdManager)
#include "tst_thresholdmanager.moc"
