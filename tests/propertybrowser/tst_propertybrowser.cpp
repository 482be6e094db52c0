// The value managers, and how the tree browser turns property trees into rows and follows their changes.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QSignalSpy>
#include <QtTest>
#include <QtWidgets>

Q_DECLARE_METATYPE(QtProperty*)

namespace {

// Number managers put reversed bounds in order, let a moved bound push the other one and the value
// along, and signal only what really changed.
template <class Manager, class Value> void checkRanges()
{
    Manager manager;
    QtProperty* property = manager.addProperty();
    const auto state = [&] {
        return QList<Value>{manager.minimum(property), manager.maximum(property), manager.value(property)};
    };
    QSignalSpy values(&manager, &Manager::valueChanged);
    QSignalSpy ranges(&manager, &Manager::rangeChanged);
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);

    manager.setValue(property, Value(8));
    manager.setRange(property, Value(10), Value(2));
    QCOMPARE(state(), (QList<Value>{2, 10, 8}));
    manager.setMinimum(property, Value(20));
    QCOMPARE(state(), (QList<Value>{20, 20, 20}));
    manager.setMaximum(property, Value(5));
    QCOMPARE(state(), (QList<Value>{5, 5, 5}));

    // Setting what is already there, also as a reversed range or by clamping to it, signals nothing.
    manager.setRange(property, Value(9), Value(-9));
    manager.setValue(property, Value(12)); // clamps to 9: a change
    manager.setValue(property, Value(15));
    manager.setRange(property, Value(9), Value(-9));
    manager.setMinimum(property, Value(-9));
    QCOMPARE(manager.value(property), Value(9));
    QCOMPARE((QList<int>{values.count(), changed.count(), ranges.count()}), (QList<int>{4, 4, 4}));
}

} // namespace

class PropertyBrowserTest : public QObject
{
    Q_OBJECT

    QtIntPropertyManager* m_ints = nullptr;
    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtProperty *m_root, *m_outputA, *m_outputB, *m_threshold;

    QTreeWidgetItem* row(const QString& name, int occurrence = 0) const
    {
        return m_tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(occurrence);
    }
    QStringList childNames(const QString& name, int occurrence = 0) const
    {
        QStringList names;
        for (int i = 0; i < row(name, occurrence)->childCount(); ++i)
            names.append(row(name, occurrence)->child(i)->text(0));
        return names;
    }

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QtProperty*>(); }
    void intRanges() { checkRanges<QtIntPropertyManager, int>(); }
    void doubleRanges() { checkRanges<QtDoublePropertyManager, double>(); }

    void valueTexts()
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

    void enumNamesResetIndexAndBoundValue()
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

    // Sensor > Output A, Output B > the same Threshold under both.
    void init()
    {
        m_browser = new QtTreePropertyBrowser;
        m_tree = m_browser->findChild<QTreeWidget*>();
        auto* groups = new QtGroupPropertyManager(m_browser);
        m_ints = new QtIntPropertyManager(m_browser);
        m_root = groups->addProperty("Sensor");
        m_outputA = groups->addProperty("Output A");
        m_outputB = groups->addProperty("Output B");
        m_threshold = m_ints->addProperty("Threshold");
        m_root->addSubProperty(m_outputA);
        m_root->addSubProperty(m_outputB);
        m_outputA->addSubProperty(m_threshold);
        m_outputB->addSubProperty(m_threshold);
        m_browser->addProperty(m_root);
        m_browser->resize(400, 300);
        m_browser->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_browser));
    }

    void cleanup() { delete m_browser; }

    void rowsAndCurrentItemFollowThePropertyTree()
    {
        QList<QtBrowserItem*> currents;
        connect(m_browser, &QtAbstractPropertyBrowser::currentItemChanged, this,
                [&currents](QtBrowserItem* item) { currents.append(item); });
        QtBrowserItem* outputB = m_browser->items(m_outputB).value(0);
        m_browser->setCurrentItem(outputB);
        m_browser->setCurrentItem(outputB);
        QCOMPARE(m_tree->currentItem(), row("Output B"));
        QCOMPARE(childNames("Output B"), QStringList{"Threshold"});
        QVERIFY(!m_browser->addProperty(m_root)); // already shown

        // Sub-properties arrive under every row of their parent; a second place or a cycle is refused.
        QtProperty* hysteresis = m_ints->addProperty("Hysteresis");
        QtProperty* step = m_ints->addProperty("Step");
        m_threshold->addSubProperty(hysteresis);
        m_threshold->addSubProperty(step);
        m_threshold->addSubProperty(hysteresis);
        step->addSubProperty(m_root);
        step->addSubProperty(step);
        for (int occurrence : {0, 1})
            QCOMPARE(childNames("Threshold", occurrence), (QStringList{"Hysteresis", "Step"}));
        QVERIFY(step->subProperties().isEmpty());

        // Taking the current row's parent away clears the current item.
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualItemRect(row("Hysteresis")).center());
        QtBrowserItem* clicked = m_browser->currentItem();
        QCOMPARE(clicked->parent()->parent()->property(), m_outputA);
        m_outputA->removeSubProperty(m_threshold);
        QCOMPARE(currents, (QList<QtBrowserItem*>{outputB, clicked, nullptr}));
        QCOMPARE(m_browser->items(hysteresis).size(), 1);
        QCOMPARE(row("Output A")->childCount(), 0);
        m_threshold->setPropertyName("Switch point");
        QCOMPARE(childNames("Output B"), QStringList{"Switch point"});

        // A sub-property outlives its deleted parent and can be placed again.
        delete m_threshold;
        QVERIFY(m_browser->items(hysteresis).isEmpty());
        QCOMPARE(row("Output B")->childCount(), 0);
        m_outputA->addSubProperty(hysteresis);
        QCOMPARE(childNames("Output A"), QStringList{"Hysteresis"});
        delete m_root->propertyManager(); // takes the top-level property with it
        QVERIFY(m_browser->topLevelItems().isEmpty());
        QCOMPARE(m_tree->topLevelItemCount(), 0);
    }

    void rowsShowTextsTipsAndState()
    {
        m_threshold->setToolTip("switching distance");
        m_threshold->setStatusTip("readOnly");
        m_threshold->setEnabled(false);
        for (int occurrence : {0, 1}) {
            const QTreeWidgetItem* threshold = row("Threshold", occurrence);
            // The caption, which may be cut short in its column, heads the name's tip.
            QCOMPARE((QStringList{threshold->toolTip(0), threshold->toolTip(1), threshold->statusTip(1)}),
                     (QStringList{"Threshold\nswitching distance", "switching distance", "readOnly"}));
            QVERIFY(!(threshold->flags() & Qt::ItemIsEnabled));
        }

        // A group heads its sub-rows across both columns.
        QTreeWidgetItem* threshold = row("Threshold");
        QVERIFY(row("Output A")->isFirstColumnSpanned() && !threshold->isFirstColumnSpanned());

        // An icon or a bold value marks one row only, and stays through value changes until taken away.
        const auto marks = [this](int occurrence) {
            const QTreeWidgetItem* threshold = row("Threshold", occurrence);
            return QList<bool>{!threshold->icon(0).isNull(), threshold->font(0).bold(),
                               threshold->font(1).bold()};
        };
        QtBrowserItem* first = m_browser->items(m_threshold).value(0);
        m_browser->setItemIcon(first, m_browser->style()->standardIcon(QStyle::SP_DialogOkButton));
        m_browser->setValueBold(first, true);
        m_ints->setValue(m_threshold, 42);
        QCOMPARE(threshold->text(1), "42");
        QCOMPARE(marks(0), (QList<bool>{true, false, true}));
        QCOMPARE(marks(1), (QList<bool>{false, false, false}));
        m_browser->setItemIcon(first, QIcon());
        m_browser->setValueBold(first, false);
        QCOMPARE(marks(0), marks(1));
    }

    void sharedFactoryServesUntilLastBrowserLetsGo()
    {
        QtSpinBoxFactory factory;
        auto* second = new QtTreePropertyBrowser;
        m_browser->setFactoryForManager(m_ints, &factory);
        second->setFactoryForManager(m_ints, &factory);
        second->addProperty(m_threshold);
        delete second;
        QCOMPARE(factory.propertyManagers().size(), 1);
        m_browser->unsetFactoryForManager(m_ints);
        QVERIFY(factory.propertyManagers().isEmpty());

        // A manager that dies while bound must not be left behind in the factory.
        m_browser->setFactoryForManager(m_ints, &factory);
        delete m_ints;
        QVERIFY(factory.propertyManagers().isEmpty());
        QCOMPARE(m_browser->items(m_outputA).value(0)->children().size(), 0);
    }
};

QTEST_MAIN(PropertyBrowserTest)
#include "tst_propertybrowser.moc"
