// Value managers and the property tree, without any browser.

#include "qtpropertymanager.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(QtProperty*)

class PropertyManagersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QtProperty*>(); }
    void intRangesClampOrderAndSignalOnlyChanges();
    void doubleRangesDecimalsAndText();
    void boolTextsForBothStates();
    void stringPatternRefusesMismatch();
    void enumNamesResetIndexAndBoundValue();
    void propertySettersSignalOnlyChanges();
    void subPropertiesKeepOrderAndRefuseCycles();
    void deletingPropertyDetachesFromParents();
};

void PropertyManagersTest::intRangesClampOrderAndSignalOnlyChanges()
{
    QtIntPropertyManager manager;
    QtProperty* property = manager.addProperty(QStringLiteral("threshold"));
    QSignalSpy ranges(&manager, &QtIntPropertyManager::rangeChanged);
    QSignalSpy values(&manager, &QtIntPropertyManager::valueChanged);

    manager.setValue(property, 250);
    manager.setRange(property, 0, 0);
    QCOMPARE(manager.value(property), 0);
    QCOMPARE(property->valueText(), QStringLiteral("0"));
    manager.setValue(property, 99);
    QCOMPARE(manager.value(property), 0);
    QCOMPARE(values.count(), 2); // 250, then clamped to 0; the refused 99 is silent

    manager.setRange(property, 10, 0);
    QCOMPARE(manager.minimum(property), 0);
    QCOMPARE(manager.maximum(property), 10);

    manager.setValue(property, 8);
    manager.setMinimum(property, 20);
    QCOMPARE(manager.maximum(property), 20);
    QCOMPARE(manager.value(property), 20);
    manager.setMaximum(property, 5);
    QCOMPARE(manager.minimum(property), 5);
    QCOMPARE(manager.value(property), 5);
    QCOMPARE(ranges.last().at(1).toInt(), 5);
    QCOMPARE(ranges.last().at(2).toInt(), 5);

    manager.setSingleStep(property, -3);
    QCOMPARE(manager.singleStep(property), 0);

    // Setting what is already there, also as a reversed range or by clamping to it, signals nothing.
    manager.setRange(property, -5, 5);
    manager.setValue(property, 3);
    manager.setSingleStep(property, 2);
    values.clear();
    ranges.clear();
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);
    QSignalSpy steps(&manager, &QtIntPropertyManager::singleStepChanged);
    manager.setValue(property, 3);
    manager.setValue(property, 7); // clamps to 5: a change
    manager.setValue(property, 9); // clamps to 5 again: none
    manager.setRange(property, 5, -5);
    manager.setMinimum(property, -5);
    manager.setSingleStep(property, 2);
    QCOMPARE(values.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(ranges.count(), 0);
    QCOMPARE(steps.count(), 0);
}

void PropertyManagersTest::doubleRangesDecimalsAndText()
{
    QtDoublePropertyManager manager;
    QtProperty* property = manager.addProperty();
    QSignalSpy values(&manager, &QtDoublePropertyManager::valueChanged);

    manager.setValue(property, 12.5);
    manager.setRange(property, 20.0, 0.5);
    QCOMPARE(manager.minimum(property), 0.5);
    QCOMPARE(manager.maximum(property), 20.0);
    manager.setMaximum(property, 3.25);
    QCOMPARE(manager.value(property), 3.25);
    QCOMPARE(values.count(), 2);
    QCOMPARE(values.last().at(1).toDouble(), 3.25);

    manager.setDecimals(property, 40);
    QCOMPARE(manager.decimals(property), 13);
    manager.setDecimals(property, -1);
    QCOMPARE(manager.decimals(property), 0);
    manager.setDecimals(property, 3);
    QCOMPARE(property->valueText(), QLocale().toString(3.25, 'f', 3));
}

void PropertyManagersTest::boolTextsForBothStates()
{
    QtBoolPropertyManager manager;
    QtProperty* property = manager.addProperty();
    QSignalSpy values(&manager, &QtBoolPropertyManager::valueChanged);
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);

    QCOMPARE(property->valueText(), QStringLiteral("False"));
    manager.setValue(property, false, QStringLiteral("On"), QStringLiteral("Off"));
    QCOMPARE(property->valueText(), QStringLiteral("Off"));
    QCOMPARE(values.count(), 0); // only the texts changed
    QCOMPARE(changed.count(), 1);

    manager.setValue(property, true);
    QCOMPARE(property->valueText(), QStringLiteral("On"));
    QCOMPARE(values.count(), 1);
    QCOMPARE(values.last().at(1).toBool(), true);

    manager.setValue(property, true, QString(), QString());
    QCOMPARE(property->valueText(), QStringLiteral("True"));
    QCOMPARE(values.count(), 1);
    manager.setValue(property, true, QString(), QString());
    QCOMPARE(changed.count(), 3);
    QVERIFY(!property->valueIcon().isNull());
}

void PropertyManagersTest::stringPatternRefusesMismatch()
{
    QtStringPropertyManager manager;
    QtProperty* property = manager.addProperty();
    QSignalSpy values(&manager, &QtStringPropertyManager::valueChanged);

    manager.setValue(property, QStringLiteral("free text"));
    manager.setRegExp(property, QRegExp(QStringLiteral("[0-9]{3}")));
    QCOMPARE(manager.value(property), QStringLiteral("free text"));
    manager.setValue(property, QStringLiteral("12a"));
    QCOMPARE(manager.value(property), QStringLiteral("free text"));
    manager.setValue(property, QStringLiteral("123"));
    QCOMPARE(property->valueText(), QStringLiteral("123"));
    QCOMPARE(values.count(), 2);
}

void PropertyManagersTest::enumNamesResetIndexAndBoundValue()
{
    QtEnumPropertyManager manager;
    QtProperty* property = manager.addProperty();
    QSignalSpy values(&manager, &QtEnumPropertyManager::valueChanged);
    QSignalSpy names(&manager, &QtEnumPropertyManager::enumNamesChanged);

    QCOMPARE(manager.value(property), -1);
    manager.setValue(property, 0);
    QCOMPARE(manager.value(property), -1);

    const QStringList outputs{QStringLiteral("PNP"), QStringLiteral("NPN"), QStringLiteral("Push-pull")};
    manager.setEnumNames(property, outputs);
    QCOMPARE(manager.value(property), 0);
    manager.setValue(property, 2);
    manager.setValue(property, 3);
    manager.setValue(property, -1);
    QCOMPARE(manager.value(property), 2);
    QCOMPARE(property->valueText(), QStringLiteral("Push-pull"));

    manager.setEnumNames(property, outputs);
    QCOMPARE(manager.value(property), 2); // the same names are no change
    manager.setEnumNames(property, outputs.mid(0, 2));
    QCOMPARE(manager.value(property), 0);
    manager.setEnumNames(property, {});
    QCOMPARE(manager.value(property), -1);
    QCOMPARE(property->valueText(), QString());
    QCOMPARE(names.count(), 3);
    QCOMPARE(values.count(), 1);
}

void PropertyManagersTest::propertySettersSignalOnlyChanges()
{
    QtGroupPropertyManager manager;
    QtProperty* property = manager.addProperty(QStringLiteral("Outputs"));
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);

    QVERIFY(!property->hasValue());
    property->setStatusTip(QStringLiteral("readOnly"));
    property->setStatusTip(QStringLiteral("readOnly"));
    property->setToolTip(QStringLiteral("tip"));
    property->setEnabled(false);
    property->setEnabled(false);
    property->setModified(true);
    property->setPropertyName(QStringLiteral("Outputs"));
    QCOMPARE(changed.count(), 4);
}

void PropertyManagersTest::subPropertiesKeepOrderAndRefuseCycles()
{
    QtGroupPropertyManager manager;
    QtProperty* root = manager.addProperty(QStringLiteral("root"));
    QtProperty* a = manager.addProperty(QStringLiteral("a"));
    QtProperty* b = manager.addProperty(QStringLiteral("b"));
    QtProperty* c = manager.addProperty(QStringLiteral("c"));
    QSignalSpy inserted(&manager, &QtAbstractPropertyManager::propertyInserted);

    root->addSubProperty(a);
    root->addSubProperty(c);
    root->insertSubProperty(b, a);
    root->addSubProperty(b);
    QCOMPARE(root->subProperties(), (QList<QtProperty*>{a, b, c}));
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(inserted.last().at(0).value<QtProperty*>(), b);
    QCOMPARE(inserted.last().at(1).value<QtProperty*>(), root);
    QCOMPARE(inserted.last().at(2).value<QtProperty*>(), a);

    a->addSubProperty(root);
    a->addSubProperty(a);
    QVERIFY(a->subProperties().isEmpty());
    QCOMPARE(inserted.count(), 3);
}

void PropertyManagersTest::deletingPropertyDetachesFromParents()
{
    QtIntPropertyManager manager;
    QtProperty* first = manager.addProperty(QStringLiteral("first"));
    QtProperty* second = manager.addProperty(QStringLiteral("second"));
    QtProperty* shared = manager.addProperty(QStringLiteral("shared"));
    QtProperty* child = manager.addProperty(QStringLiteral("child"));
    first->addSubProperty(shared);
    second->addSubProperty(shared);
    shared->addSubProperty(child);
    QSignalSpy removed(&manager, &QtAbstractPropertyManager::propertyRemoved);
    QSignalSpy destroyed(&manager, &QtAbstractPropertyManager::propertyDestroyed);

    delete shared;
    QVERIFY(first->subProperties().isEmpty());
    QVERIFY(second->subProperties().isEmpty());
    QCOMPARE(removed.count(), 2);
    QCOMPARE(destroyed.count(), 1);
    QVERIFY(!manager.properties().contains(shared));
    // The child outlives its deleted parent and can be placed again.
    first->addSubProperty(child);
    QCOMPARE(first->subProperties(), QList<QtProperty*>{child});
}

QTEST_MAIN(PropertyManagersTest)
#include "tst_propertymanagers.moc"
