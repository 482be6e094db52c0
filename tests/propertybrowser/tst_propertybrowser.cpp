// How the tree browser turns property trees into rows and follows their changes.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(QtBrowserItem*)

class PropertyBrowserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QtBrowserItem*>(); }
    void init();
    void cleanup() { delete m_browser; }

    void sharedPropertyShowsUnderEachParentAndFollowsTreeChanges();
    void deletedPropertiesLeaveTheBrowser();
    void currentItemFollowsProgramClicksAndRemoval();
    void rowsShowTextsTipsAndState();
    void sharedFactoryServesUntilLastBrowserLetsGo();

private:
    QTreeWidgetItem* row(const QString& name, int occurrence = 0) const
    {
        return m_tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(occurrence);
    }
    static QStringList childNames(const QTreeWidgetItem* row);

    QtGroupPropertyManager* m_groups = nullptr;
    QtIntPropertyManager* m_ints = nullptr;
    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtProperty* m_root = nullptr;
    QtProperty* m_outputA = nullptr;
    QtProperty* m_outputB = nullptr;
    QtProperty* m_threshold = nullptr;
};

// Sensor > Output A, Output B > the same Threshold under both.
void PropertyBrowserTest::init()
{
    m_browser = new QtTreePropertyBrowser;
    m_groups = new QtGroupPropertyManager(m_browser);
    m_ints = new QtIntPropertyManager(m_browser);
    m_tree = m_browser->findChild<QTreeWidget*>();
    m_root = m_groups->addProperty(QStringLiteral("Sensor"));
    m_outputA = m_groups->addProperty(QStringLiteral("Output A"));
    m_outputB = m_groups->addProperty(QStringLiteral("Output B"));
    m_threshold = m_ints->addProperty(QStringLiteral("Threshold"));
    m_root->addSubProperty(m_outputA);
    m_root->addSubProperty(m_outputB);
    m_outputA->addSubProperty(m_threshold);
    m_outputB->addSubProperty(m_threshold);
    m_browser->addProperty(m_root);
    m_browser->resize(400, 300);
    m_browser->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_browser));
}

QStringList PropertyBrowserTest::childNames(const QTreeWidgetItem* row)
{
    QStringList names;
    for (int i = 0; i < row->childCount(); ++i)
        names.append(row->child(i)->text(0));
    return names;
}

void PropertyBrowserTest::sharedPropertyShowsUnderEachParentAndFollowsTreeChanges()
{
    QCOMPARE(m_browser->items(m_threshold).size(), 2);
    QCOMPARE(childNames(row(QStringLiteral("Output B"))), QStringList{QStringLiteral("Threshold")});
    QVERIFY(!m_browser->addProperty(m_root)); // already shown

    // Sub-properties arrive in place under every row of their parent; a second place or a cycle
    // is refused.
    QtProperty* hysteresis = m_ints->addProperty(QStringLiteral("Hysteresis"));
    QtProperty* step = m_ints->addProperty(QStringLiteral("Step"));
    QtProperty* delay = m_ints->addProperty(QStringLiteral("Delay"));
    m_threshold->addSubProperty(hysteresis);
    m_threshold->insertSubProperty(step, nullptr);
    m_threshold->insertSubProperty(delay, step);
    m_threshold->addSubProperty(step);
    delay->addSubProperty(m_root);
    delay->addSubProperty(delay);
    for (int occurrence : {0, 1})
        QCOMPARE(
            childNames(row(QStringLiteral("Threshold"), occurrence)),
            (QStringList{QStringLiteral("Step"), QStringLiteral("Delay"), QStringLiteral("Hysteresis")}));
    QVERIFY(delay->subProperties().isEmpty());

    m_outputA->removeSubProperty(m_threshold);
    QCOMPARE(m_browser->items(hysteresis).size(), 1);
    QCOMPARE(row(QStringLiteral("Output A"))->childCount(), 0);
    m_ints->setValue(m_threshold, 42);
    QCOMPARE(row(QStringLiteral("Threshold"))->text(1), QStringLiteral("42"));
    m_threshold->setPropertyName(QStringLiteral("Switch point"));
    QVERIFY(row(QStringLiteral("Switch point")));
}

void PropertyBrowserTest::deletedPropertiesLeaveTheBrowser()
{
    QtProperty* hysteresis = m_ints->addProperty(QStringLiteral("Hysteresis"));
    m_threshold->addSubProperty(hysteresis);
    delete m_threshold;
    QVERIFY(m_browser->items(hysteresis).isEmpty());
    QCOMPARE(row(QStringLiteral("Output A"))->childCount(), 0);
    QCOMPARE(row(QStringLiteral("Output B"))->childCount(), 0);
    // A sub-property outlives its deleted parent and can be placed again.
    m_outputA->addSubProperty(hysteresis);
    QCOMPARE(childNames(row(QStringLiteral("Output A"))), QStringList{QStringLiteral("Hysteresis")});

    delete m_groups; // takes the top-level property with it
    QVERIFY(m_browser->topLevelItems().isEmpty());
    QCOMPARE(m_tree->topLevelItemCount(), 0);
}

void PropertyBrowserTest::currentItemFollowsProgramClicksAndRemoval()
{
    QSignalSpy current(m_browser, &QtAbstractPropertyBrowser::currentItemChanged);
    m_browser->setCurrentItem(m_browser->items(m_outputB).value(0));
    m_browser->setCurrentItem(m_browser->items(m_outputB).value(0));
    QCOMPARE(current.count(), 1);
    QCOMPARE(m_tree->currentItem(), row(QStringLiteral("Output B")));

    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                      m_tree->visualItemRect(row(QStringLiteral("Threshold"))).center());
    QCOMPARE(current.count(), 2);
    QCOMPARE(current.last().at(0).value<QtBrowserItem*>(), m_browser->items(m_threshold).value(0));
    QCOMPARE(m_browser->currentItem(), m_browser->items(m_threshold).value(0));

    // Taking the current row's parent away clears the current item.
    m_root->removeSubProperty(m_outputA);
    QCOMPARE(m_browser->currentItem(), nullptr);
    QCOMPARE(current.count(), 3);
    QCOMPARE(m_browser->items(m_threshold).size(), 1);
}

void PropertyBrowserTest::rowsShowTextsTipsAndState()
{
    m_threshold->setToolTip(QStringLiteral("switching distance"));
    m_threshold->setStatusTip(QStringLiteral("readOnly"));
    m_threshold->setEnabled(false);
    for (int occurrence : {0, 1}) {
        const QTreeWidgetItem* threshold = row(QStringLiteral("Threshold"), occurrence);
        // The caption, which may be cut short in its column, heads the name's tip.
        QCOMPARE(threshold->toolTip(0), QStringLiteral("Threshold\nswitching distance"));
        QCOMPARE(threshold->toolTip(1), QStringLiteral("switching distance"));
        QCOMPARE(threshold->statusTip(1), QStringLiteral("readOnly"));
        QVERIFY(!(threshold->flags() & Qt::ItemIsEnabled));
    }

    // A group heads its sub-rows across both columns and can be marked; a collapsed one hides them.
    QTreeWidgetItem* group = row(QStringLiteral("Output A"));
    QTreeWidgetItem* threshold = row(QStringLiteral("Threshold"));
    QVERIFY(group->isFirstColumnSpanned());
    QVERIFY(!threshold->isFirstColumnSpanned());
    m_browser->setPropertiesWithoutValueMarked(true);
    QCOMPARE(group->background(0).color(), m_browser->palette().dark().color());
    QCOMPARE(threshold->background(0).style(), Qt::NoBrush);
    QSignalSpy collapsed(m_browser, &QtTreePropertyBrowser::collapsed);
    m_browser->setExpanded(m_browser->items(m_outputA).value(0), false);
    QVERIFY(m_tree->visualItemRect(threshold).isEmpty());
    QCOMPARE(collapsed.last().at(0).value<QtBrowserItem*>(), m_browser->items(m_outputA).value(0));

    // An icon or a bold value marks one row only, and stays through value changes until taken away.
    QtBrowserItem* first = m_browser->items(m_threshold).value(0);
    QPixmap red(8, 8);
    red.fill(Qt::red);
    m_browser->setItemIcon(first, QIcon(red));
    m_browser->setValueBold(first, true);
    m_ints->setValue(m_threshold, 42);
    QCOMPARE(threshold->text(1), QStringLiteral("42"));
    QVERIFY(!threshold->icon(0).isNull());
    QVERIFY(threshold->font(1).bold());
    QVERIFY(!threshold->font(0).bold());
    QVERIFY(row(QStringLiteral("Threshold"), 1)->icon(0).isNull());
    QVERIFY(!row(QStringLiteral("Threshold"), 1)->font(1).bold());
    m_browser->setItemIcon(first, QIcon());
    m_browser->setValueBold(first, false);
    QVERIFY(threshold->icon(0).isNull());
    QVERIFY(!threshold->font(1).bold());
}

void PropertyBrowserTest::sharedFactoryServesUntilLastBrowserLetsGo()
{
    QtSpinBoxFactory factory;
    auto second = std::make_unique<QtTreePropertyBrowser>();
    m_browser->setFactoryForManager(m_ints, &factory);
    second->setFactoryForManager(m_ints, &factory);
    second->addProperty(m_threshold);
    second.reset();
    QCOMPARE(factory.propertyManagers().size(), 1);
    m_browser->unsetFactoryForManager(m_ints);
    QVERIFY(factory.propertyManagers().isEmpty());

    // A manager that dies while bound must not be left behind in the factory.
    m_browser->setFactoryForManager(m_ints, &factory);
    delete m_ints;
    QVERIFY(factory.propertyManagers().isEmpty());
    QCOMPARE(m_browser->items(m_outputA).value(0)->children().size(), 0);
}

QTEST_MAIN(PropertyBrowserTest)
#include "tst_propertybrowser.moc"
