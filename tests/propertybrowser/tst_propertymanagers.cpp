// Value managers and the property tree, without any browser.

#include "qtpropertymanager.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(QtProperty*)

namespace {

// Number managers put reversed bounds in order, let a moved bound push the other one and the value
// along, and signal only what really changed.
template <class Manager, class Value> void checkRanges()
{
    Manager manager;
    QtProperty* property = manager.addProperty();
    const auto state = [&] {
        return QList<Value>{manager.minimum(property), manager.maximum(property), manager.value(property),
                            manager.singleStep(property)};
    };
    QSignalSpy values(&manager, &Manager::valueChanged);
    QSignalSpy ranges(&manager, &Manager::rangeChanged);
    QSignalSpy steps(&manager, &Manager::singleStepChanged);
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);

    manager.setValue(property, Value(8));
    manager.setRange(property, Value(10), Value(2));
    QCOMPARE(state(), (QList<Value>{2, 10, 8, 1}));
    manager.setMinimum(property, Value(20));
    QCOMPARE(state(), (QList<Value>{20, 20, 20, 1}));
    manager.setMaximum(property, Value(5));
    manager.setSingleStep(property, Value(-3));
    QCOMPARE(state(), (QList<Value>{5, 5, 5, 0}));

    // Setting what is already there, also as a reversed range or by clamping to it, signals nothing.
    manager.setRange(property, Value(9), Value(-9));
    manager.setValue(property, Value(12)); // clamps to 9: a change
    manager.setValue(property, Value(15));
    manager.setRange(property, Value(9), Value(-9));
    manager.setMinimum(property, Value(-9));
    manager.setSingleStep(property, Value(-1));
    QCOMPARE(manager.value(property), Value(9));
    QCOMPARE((QList<int>{values.count(), changed.count(), ranges.count(), steps.count()}),
             (QList<int>{4, 4, 4, 1}));
}

} // namespace

class PropertyManagersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QtProperty*>(); }
    void intRanges() { checkRanges<QtIntPropertyManager, int>(); }
    void doubleRanges() { checkRanges<QtDoublePropertyManager, double>(); }
    void valueTexts();
    void enumNamesResetIndexAndBoundValue();
};

void PropertyManagersTest::valueTexts()
{
    QtDoublePropertyManager doubles;
    QtProperty* number = doubles.addProperty();
    doubles.setValue(number, 3.25);
    doubles.setDecimals(number, -1);
    QCOMPARE(number->valueText(), QLocale().toString(3.0, 'f', 0));
    doubles.setDecimals(number, 3);
    QCOMPARE(number->valueText(), QLocale().toString(3.25, 'f', 3));

    // A bool shows its own texts, or the default ones; setting it again with other texts is no edit.
    QtBoolPropertyManager bools;
    QtProperty* flag = bools.addProperty();
    QSignalSpy toggles(&bools, &QtBoolPropertyManager::valueChanged);
    QCOMPARE(flag->valueText(), "False");
    bools.setValue(flag, true, "On", "Off");
    QCOMPARE(flag->valueText(), "On");
    bools.setValue(flag, true, QString(), QString());
    QCOMPARE(flag->valueText(), "True");
    QCOMPARE(toggles.count(), 1);
    QVERIFY(!flag->valueIcon().isNull());
}

void PropertyManagersTest::enumNamesResetIndexAndBoundValue()
{
    QtEnumPropertyManager manager;
    QtProperty* property = manager.addProperty();
    QSignalSpy values(&manager, &QtEnumPropertyManager::valueChanged);

    const QStringList outputs{"PNP", "NPN", "Push-pull"};
    manager.setEnumNames(property, outputs);
    QCOMPARE(manager.value(property), 0);
    manager.setValue(property, 2);
    manager.setValue(property, 3);
    manager.setValue(property, -1);
    QCOMPARE(property->valueText(), "Push-pull");

    manager.setEnumNames(property, outputs);
    QCOMPARE(manager.value(property), 2); // the same names are no change
    manager.setEnumNames(property, outputs.mid(0, 2));
    QCOMPARE(manager.value(property), 0);
    manager.setEnumNames(property, {});
    QCOMPARE(manager.value(property), -1);
    QCOMPARE(property->valueText(), QString());
    QCOMPARE(values.count(), 1);
}

QTEST_MAIN(PropertyManagersTest)
#include "tst_propertymanagers.moc"
