// How the tree browser turns property trees into rows and follows their changes.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

class PropertyBrowserTest : public QObject
{
    Q_OBJECT

    QtIntPropertyManager* m_ints = nullptr;
    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtProperty *m_root = nullptr, *m_outputA = nullptr, *m_outputB = nullptr, *m_threshold = nullptr;

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

    void rowsFollowThePropertyTree()
    {
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

        m_outputA->removeSubProperty(m_threshold);
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

    void currentItemFollowsProgramClicksAndRemoval()
    {
        QList<QtBrowserItem*> currents;
        connect(m_browser, &QtAbstractPropertyBrowser::currentItemChanged, this,
                [&currents](QtBrowserItem* item) { currents.append(item); });
        QtBrowserItem* outputB = m_browser->items(m_outputB).value(0);
        QtBrowserItem* threshold = m_browser->items(m_threshold).value(0);
        m_browser->setCurrentItem(outputB);
        m_browser->setCurrentItem(outputB);
        QCOMPARE(m_tree->currentItem(), row("Output B"));
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualItemRect(row("Threshold")).center());
        QCOMPARE(m_browser->currentItem(), threshold);
        // Taking the current row's parent away clears the current item.
        m_root->removeSubProperty(m_outputA);
        QCOMPARE(m_browser->currentItem(), nullptr);
        QCOMPARE(currents, (QList<QtBrowserItem*>{outputB, threshold, nullptr}));
    }

    void rowsShowTextsTipsAndState()
    {
        m_threshold->setToolTip("switching distance");
        m_threshold->setStatusTip("readOnly");
        m_threshold->setEnabled(false);
        for (int occurrence : {0, 1}) {
            const QTreeWidgetItem* threshold = row("Threshold", occurrence);
            // The caption, which may be cut short in its column, heads the name's tip.
            QCOMPARE(threshold->toolTip(0), "Threshold\nswitching distance");
            QCOMPARE(threshold->toolTip(1), "switching distance");
            QCOMPARE(threshold->statusTip(1), "readOnly");
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
};

QTEST_MAIN(PropertyBrowserTest)
#include "tst_propertybrowser.moc"
