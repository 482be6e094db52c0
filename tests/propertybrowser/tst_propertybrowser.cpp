// How the tree browser turns property trees into rows and follows their changes.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(QtBrowserItem*)

namespace {

QTreeWidgetItem* rowNamed(QTreeWidget* tree, const QString& name, int occurrence = 0)
{
    return tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0).value(occurrence);
}

} // namespace

class PropertyBrowserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QtBrowserItem*>(); }
    void init();
    void cleanup();

    void sharedPropertyShowsUnderEachParent();
    void treeChangesReachAllItems();
    void deletedPropertiesLeaveTheBrowser();
    void hiddenRowKeepsPropertyAndSubRows();
    void currentItemFollowsProgramClicksAndRemoval();
    void rowsShowTextsTipsAndState();
    void expandingAndColumnLayout();
    void sharedFactoryServesUntilLastBrowserLetsGo();

private:
    QtGroupPropertyManager* m_groups = nullptr;
    QtIntPropertyManager* m_ints = nullptr;
    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtProperty* m_root = nullptr;
    QtProperty* m_outputA = nullptr;
    QtProperty* m_outputB = nullptr;
    QtProperty* m_threshold = nullptr;
};

void PropertyBrowserTest::init()
{
    m_browser = new QtTreePropertyBrowser;
    m_groups = new QtGroupPropertyManager(m_browser);
    m_ints = new QtIntPropertyManager(m_browser);
    m_tree = m_browser->findChild<QTreeWidget*>();
    QVERIFY(m_tree);

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

void PropertyBrowserTest::cleanup()
{
    delete m_browser;
}

void PropertyBrowserTest::sharedPropertyShowsUnderEachParent()
{
    const QList<QtBrowserItem*> items = m_browser->items(m_threshold);
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0)->parent()->property(), m_outputA);
    QCOMPARE(items.at(1)->parent()->property(), m_outputB);
    QCOMPARE(rowNamed(m_tree, QStringLiteral("Output A"))->child(0)->text(0), QStringLiteral("Threshold"));
    QCOMPARE(rowNamed(m_tree, QStringLiteral("Output B"))->child(0)->text(0), QStringLiteral("Threshold"));

    QtBrowserItem* top = m_browser->topLevelItem(m_root);
    QCOMPARE(m_browser->topLevelItems(), QList<QtBrowserItem*>{top});
    QCOMPARE(m_browser->properties(), QList<QtProperty*>{m_root});
    QCOMPARE(top->children().size(), 2);
    QVERIFY(!m_browser->addProperty(m_root)); // already shown
}

void PropertyBrowserTest::treeChangesReachAllItems()
{
    QtProperty* hysteresis = m_ints->addProperty(QStringLiteral("Hysteresis"));
    QtProperty* step = m_ints->addProperty(QStringLiteral("Step"));
    m_threshold->addSubProperty(hysteresis);
    m_threshold->insertSubProperty(step, nullptr);
    QCOMPARE(m_browser->items(hysteresis).size(), 2);
    QTreeWidgetItem* second = rowNamed(m_tree, QStringLiteral("Threshold"), 1);
    QCOMPARE(second->childCount(), 2);
    QCOMPARE(second->child(0)->text(0), QStringLiteral("Step"));
    QCOMPARE(second->child(1)->text(0), QStringLiteral("Hysteresis"));

    m_outputA->removeSubProperty(m_threshold);
    QCOMPARE(m_browser->items(m_threshold).size(), 1);
    QCOMPARE(m_browser->items(hysteresis).size(), 1);
    QCOMPARE(rowNamed(m_tree, QStringLiteral("Output A"))->childCount(), 0);

    m_ints->setValue(m_threshold, 42);
    QCOMPARE(rowNamed(m_tree, QStringLiteral("Threshold"))->text(1), QStringLiteral("42"));
    m_threshold->setPropertyName(QStringLiteral("Switch point"));
    QVERIFY(rowNamed(m_tree, QStringLiteral("Switch point")));
}

void PropertyBrowserTest::deletedPropertiesLeaveTheBrowser()
{
    delete m_threshold;
    QVERIFY(m_browser->items(m_threshold).isEmpty());
    QCOMPARE(rowNamed(m_tree, QStringLiteral("Output A"))->childCount(), 0);
    QCOMPARE(rowNamed(m_tree, QStringLiteral("Output B"))->childCount(), 0);

    delete m_groups; // takes the top-level property with it
    m_groups = nullptr;
    QVERIFY(m_browser->topLevelItems().isEmpty());
    QVERIFY(m_browser->properties().isEmpty());
    QCOMPARE(m_tree->topLevelItemCount(), 0);
}

void PropertyBrowserTest::hiddenRowKeepsPropertyAndSubRows()
{
    QtBrowserItem* outputA = m_browser->items(m_outputA).value(0);
    QTreeWidgetItem* thresholdRow = rowNamed(m_tree, QStringLiteral("Threshold"));
    QVERIFY(!m_tree->visualItemRect(thresholdRow).isEmpty());

    m_browser->setItemVisible(outputA, false);
    QVERIFY(!m_browser->isItemVisible(outputA));
    QVERIFY(m_tree->visualItemRect(thresholdRow).isEmpty());
    QCOMPARE(m_root->subProperties().size(), 2);
    QCOMPARE(m_browser->items(m_threshold).size(), 2);
    QVERIFY(m_browser->isItemVisible(m_browser->items(m_outputB).value(0)));

    m_browser->setItemVisible(outputA, true);
    QVERIFY(m_browser->isItemVisible(outputA));
    QVERIFY(!m_tree->visualItemRect(thresholdRow).isEmpty());
}

void PropertyBrowserTest::currentItemFollowsProgramClicksAndRemoval()
{
    QSignalSpy current(m_browser, &QtAbstractPropertyBrowser::currentItemChanged);
    QtBrowserItem* outputB = m_browser->items(m_outputB).value(0);

    m_browser->setCurrentItem(outputB);
    m_browser->setCurrentItem(outputB);
    QCOMPARE(current.count(), 1);
    QCOMPARE(m_tree->currentItem(), rowNamed(m_tree, QStringLiteral("Output B")));

    QTreeWidgetItem* firstThreshold = rowNamed(m_tree, QStringLiteral("Threshold"));
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                      m_tree->visualItemRect(firstThreshold).center());
    QCOMPARE(current.count(), 2);
    QtBrowserItem* clicked = current.last().at(0).value<QtBrowserItem*>();
    QCOMPARE(clicked, m_browser->items(m_threshold).value(0));
    QCOMPARE(m_browser->currentItem(), clicked);

    // Taking the current row's parent away clears the current item.
    m_root->removeSubProperty(m_outputA);
    QCOMPARE(m_browser->currentItem(), nullptr);
    QCOMPARE(current.count(), 3);
    QCOMPARE(current.last().at(0).value<QtBrowserItem*>(), nullptr);
    QCOMPARE(m_browser->items(m_threshold).size(), 1);
}

void PropertyBrowserTest::rowsShowTextsTipsAndState()
{
    m_threshold->setToolTip(QStringLiteral("switching distance"));
    m_threshold->setStatusTip(QStringLiteral("readOnly"));
    m_threshold->setEnabled(false);
    for (int occurrence : {0, 1}) {
        const QTreeWidgetItem* row = rowNamed(m_tree, QStringLiteral("Threshold"), occurrence);
        // The caption, which may be cut short in its column, heads the name's tip.
        QCOMPARE(row->data(0, Qt::ToolTipRole).toString(), QStringLiteral("Threshold\nswitching distance"));
        QCOMPARE(row->data(1, Qt::ToolTipRole).toString(), QStringLiteral("switching distance"));
        QCOMPARE(row->data(1, Qt::StatusTipRole).toString(), QStringLiteral("readOnly"));
        QVERIFY(!(row->flags() & Qt::ItemIsEnabled));
    }

    // A group heads its sub-rows across both columns.
    QTreeWidgetItem* group = rowNamed(m_tree, QStringLiteral("Output A"));
    QVERIFY(group->isFirstColumnSpanned());
    QVERIFY(group->text(1).isEmpty());
    QVERIFY(!rowNamed(m_tree, QStringLiteral("Threshold"))->isFirstColumnSpanned());
    m_browser->setPropertiesWithoutValueMarked(true);
    QCOMPARE(group->background(0).color(), m_browser->palette().dark().color());
    QCOMPARE(rowNamed(m_tree, QStringLiteral("Threshold"))->background(0).style(), Qt::NoBrush);

    // A marked row keeps its mark through value changes until it is taken away.
    QtBrowserItem* first = m_browser->items(m_threshold).value(0);
    QPixmap red(8, 8);
    red.fill(Qt::red);
    m_browser->setItemIcon(first, QIcon(red));
    m_ints->setValue(m_threshold, 42);
    QTreeWidgetItem* marked = rowNamed(m_tree, QStringLiteral("Threshold"));
    QVERIFY(!marked->icon(0).isNull());
    QCOMPARE(marked->text(1), QStringLiteral("42"));
    QVERIFY(rowNamed(m_tree, QStringLiteral("Threshold"), 1)->icon(0).isNull());
    m_browser->setItemIcon(first, QIcon());
    QVERIFY(marked->icon(0).isNull());
    // A bold value survives the row being shown again, and only that item's.
    m_browser->setValueBold(first, true);
    m_ints->setValue(m_threshold, 43);
    QVERIFY(marked->font(1).bold());
    QVERIFY(!marked->font(0).bold());
    QVERIFY(!rowNamed(m_tree, QStringLiteral("Threshold"), 1)->font(1).bold());
    m_browser->setValueBold(first, false);
    QVERIFY(!marked->font(1).bold());
}

void PropertyBrowserTest::expandingAndColumnLayout()
{
    QtBrowserItem* outputA = m_browser->items(m_outputA).value(0);
    QSignalSpy collapsed(m_browser, &QtTreePropertyBrowser::collapsed);
    QVERIFY(m_browser->isExpanded(outputA));
    m_browser->setExpanded(outputA, false);
    QVERIFY(!m_browser->isExpanded(outputA));
    QVERIFY(m_tree->visualItemRect(rowNamed(m_tree, QStringLiteral("Threshold"))).isEmpty());
    QCOMPARE(collapsed.count(), 1);
    QCOMPARE(collapsed.last().at(0).value<QtBrowserItem*>(), outputA);

    m_browser->setResizeMode(QtTreePropertyBrowser::Interactive);
    QCOMPARE(m_tree->header()->sectionResizeMode(0), QHeaderView::Interactive);
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
    m_ints = nullptr;
    QVERIFY(factory.propertyManagers().isEmpty());
    QCOMPARE(m_browser->items(m_outputA).value(0)->children().size(), 0);
}

QTEST_MAIN(PropertyBrowserTest)
#include "tst_propertybrowser.moc"
