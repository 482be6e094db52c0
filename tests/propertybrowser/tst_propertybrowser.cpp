// The value managers and the tree browser: how property trees become rows, and editing with real
// key, mouse and wheel events: moving and scrolling never change a value; only Enter, leaving the
// editor or an explicit choice commit an edit, Esc abandons it.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QSignalSpy>
#include <QtTest>
#include <QtWidgets>

Q_DECLARE_METATYPE(QtProperty*)

namespace {

// Number managers put reversed bounds in order, let a moved bound push the other one and the value
// along, and signal only what really changed: a signal without a change would be written to the sensor.
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

    manager.setRange(property, Value(9), Value(-9));
    manager.setValue(property, Value(12)); // clamps to 9: a change
    manager.setValue(property, Value(15));
    manager.setRange(property, Value(9), Value(-9));
    manager.setMinimum(property, Value(-9));
    QCOMPARE(manager.value(property), Value(9));
    QCOMPARE((QList<int>{values.count(), changed.count(), ranges.count()}), (QList<int>{4, 4, 4}));
}

// Shows a string as a push button, as an application does for an action.
struct ButtonFactory : QtLineEditFactory
{
    int clicks = 0;

    QWidget* createEditor(QtStringPropertyManager*, QtProperty* property, QWidget* parent) override
    {
        auto* button = new QPushButton(property->valueText(), parent);
        connect(button, &QPushButton::clicked, this, [this] { ++clicks; });
        return button;
    }
};

// Keys as the keyboard delivers them: press and release each go to the widget that has the focus then.
void hit(Qt::Key key)
{
    QTest::keyPress(QApplication::focusWidget(), key);
    QTest::keyRelease(QApplication::focusWidget(), key);
}

void type(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void turnWheel(QWidget* widget)
{
    QWheelEvent wheel(QPointF(5, 5), widget->mapToGlobal(QPoint(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

} // namespace

class PropertyBrowserTest : public QObject
{
    Q_OBJECT

    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtIntPropertyManager m_ints;
    QtDoublePropertyManager m_doubles;
    QtEnumPropertyManager m_enums;
    QtBoolPropertyManager m_bools;
    QtStringPropertyManager m_strings;
    QtProperty *m_int, *m_double, *m_enum, *m_bool, *m_string;
    int m_changes = 0; // values changed in any manager

    QTreeWidgetItem* row(QtProperty* property) const
    {
        return m_tree->findItems(property->propertyName(), Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    QWidget* editorOf(QtProperty* property) const { return m_tree->itemWidget(row(property), 1); }
    void select(QtProperty* property) { m_browser->setCurrentItem(m_browser->topLevelItem(property)); }

    int openEditorCount() const
    {
        int count = 0;
        for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
            count += m_tree->itemWidget(*it, 1) ? 1 : 0;
        return count;
    }

    // Clicks the property's value: the row becomes current and its editor opens (a check box toggles).
    template <class Editor> Editor* openEditor(QtProperty* property)
    {
        const QModelIndex value = m_tree->model()->index(m_tree->indexOfTopLevelItem(row(property)), 1);
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(value).center());
        return qobject_cast<Editor*>(editorOf(property));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<QtProperty*>();
        // Numbers are typed the same way whatever the user's locale.
        QLocale::setDefault(QLocale::c());
        const auto count = [this] { ++m_changes; };
        connect(&m_ints, &QtIntPropertyManager::valueChanged, this, count);
        connect(&m_doubles, &QtDoublePropertyManager::valueChanged, this, count);
        connect(&m_enums, &QtEnumPropertyManager::valueChanged, this, count);
        connect(&m_bools, &QtBoolPropertyManager::valueChanged, this, count);
        connect(&m_strings, &QtStringPropertyManager::valueChanged, this, count);
    }

    void init()
    {
        m_browser = new QtTreePropertyBrowser;
        m_tree = m_browser->findChild<QTreeWidget*>();
        m_browser->setFactoryForManager(&m_ints, new QtSpinBoxFactory(m_browser));
        m_browser->setFactoryForManager(&m_doubles, new QtDoubleSpinBoxFactory(m_browser));
        m_browser->setFactoryForManager(&m_enums, new QtEnumEditorFactory(m_browser));
        m_browser->setFactoryForManager(&m_bools, new QtCheckBoxFactory(m_browser));
        m_browser->setFactoryForManager(&m_strings, new QtLineEditFactory(m_browser));
        m_int = m_ints.addProperty("Threshold");
        m_ints.setRange(m_int, 0, 1000);
        m_double = m_doubles.addProperty("Hysteresis");
        m_enum = m_enums.addProperty("Mode");
        m_enums.setEnumNames(m_enum, {"Single", "Window", "Off"});
        m_bool = m_bools.addProperty("Inverted");
        m_string = m_strings.addProperty("Tag");
        m_strings.setValue(m_string, "Line");
        for (QtProperty* property : {m_int, m_double, m_enum, m_bool, m_string})
            m_browser->addProperty(property);
        // Enough rows below for the tree to scroll.
        for (int i = 1; i <= 12; ++i)
            m_browser->addProperty(m_ints.addProperty(QStringLiteral("Output %1").arg(i)));
        m_changes = 0;
        m_browser->resize(400, 200);
        m_browser->show();
        // Leaving an editor commits through its losing the focus, which needs an active window.
        m_browser->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_browser));
        m_tree->setFocus();
    }

    void cleanup() { delete m_browser; }

    void intRanges() { checkRanges<QtIntPropertyManager, int>(); }
    void doubleRanges() { checkRanges<QtDoublePropertyManager, double>(); }

    // New names keep the index only when they are the same; no change of names is an edit.
    void enumNamesResetIndex()
    {
        QtEnumPropertyManager manager;
        QtProperty* property = manager.addProperty();
        QSignalSpy values(&manager, &QtEnumPropertyManager::valueChanged);
        const QStringList outputs{"PNP", "NPN", "Push-pull"};
        manager.setEnumNames(property, outputs);
        for (const int value : {2, 3, -1})
            manager.setValue(property, value);
        QCOMPARE(property->valueText(), "Push-pull");
        manager.setEnumNames(property, outputs);
        QCOMPARE(manager.value(property), 2);
        manager.setEnumNames(property, outputs.mid(0, 2));
        QCOMPARE(manager.value(property), 0);
        manager.setEnumNames(property, {});
        QCOMPARE(manager.value(property), -1);
        QCOMPARE(values.count(), 1);
    }

    // Sensor > Output A > Threshold > Hysteresis, and Output B: rows follow the tree and its changes.
    void rowsAndCurrentItemFollowThePropertyTree()
    {
        m_browser->clear();
        const auto rows = [this] {
            QStringList names;
            for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
                names.append((*it)->text(0));
            return names;
        };
        QtGroupPropertyManager groups;
        QtProperty* root = groups.addProperty("Sensor");
        QtProperty* outputA = groups.addProperty("Output A");
        QtProperty* threshold = m_ints.addProperty("Threshold");
        QtProperty* hysteresis = m_ints.addProperty("Hysteresis");
        root->addSubProperty(outputA);
        root->addSubProperty(groups.addProperty("Output B"));
        outputA->addSubProperty(threshold);
        m_browser->addProperty(root);
        threshold->addSubProperty(hysteresis);
        QCOMPARE(rows(), (QStringList{"Sensor", "Output A", "Threshold", "Hysteresis", "Output B"}));

        // The marks of an edited value stay through value changes until they are taken away.
        const auto marks = [this, threshold] {
            const QTreeWidgetItem* item = row(threshold);
            return QList<bool>{!item->icon(0).isNull(), item->font(0).bold(), item->font(1).bold()};
        };
        QtBrowserItem* item = m_browser->items(threshold).value(0);
        m_browser->setItemIcon(item, m_browser->style()->standardIcon(QStyle::SP_DialogOkButton));
        m_browser->setValueBold(item, true);
        m_ints.setValue(threshold, 42);
        QCOMPARE(row(threshold)->text(1), "42");
        QCOMPARE(marks(), (QList<bool>{true, false, true}));
        m_browser->setItemIcon(item, QIcon());
        m_browser->setValueBold(item, false);
        QCOMPARE(marks(), (QList<bool>{false, false, false}));

        // Taking the current row's parent away clears the current item.
        QList<QtBrowserItem*> currents;
        connect(m_browser, &QtAbstractPropertyBrowser::currentItemChanged, this,
                [&currents](QtBrowserItem* current) { currents.append(current); });
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualItemRect(row(hysteresis)).center());
        QtBrowserItem* clicked = m_browser->currentItem();
        QCOMPARE(clicked->property(), hysteresis);
        outputA->removeSubProperty(threshold);
        QCOMPARE(currents, (QList<QtBrowserItem*>{clicked, nullptr}));
        outputA->setPropertyName("Switch point");
        QCOMPARE(rows(), (QStringList{"Sensor", "Switch point", "Output B"}));
        QVERIFY(m_browser->items(hysteresis).isEmpty());
    }

    void keysCommitOrAbandonTheEdit()
    {
        QSignalSpy refused(m_browser->findChild<QtSpinBoxFactory*>(), &QtSpinBoxFactory::valueRefused);
        // The first typed character opens the editor in place of the old value; F2 opens it as it
        // is. Esc abandons the edit; Enter and keys that move on (on a closed combo box the arrows
        // too, instead of stepping through its entries) commit it, unless the value is refused.
        const auto check = [this](QtProperty* property, const QString& typed, const QString& shown,
                                  Qt::Key key, QtProperty* next, bool taken = true) {
            const QString before = row(property)->text(1);
            select(property);
            if (typed.isEmpty())
                hit(Qt::Key_F2);
            type(typed);
            const QWidget* editor = editorOf(property);
            QCOMPARE(editor->property(qobject_cast<const QComboBox*>(editor) ? "currentText" : "text"),
                     shown);
            hit(key);
            QCOMPARE(openEditorCount(), 0);
            QCOMPARE(QApplication::focusWidget(), m_tree);
            const bool committed = taken && key != Qt::Key_Escape && !typed.isEmpty();
            QCOMPARE(row(property)->text(1), committed ? shown : before);
            QCOMPARE(m_changes, committed ? 1 : 0);
            // No next row: any other row.
            QVERIFY(next ? m_tree->currentItem() == row(next) : m_tree->currentItem() != row(property));
            m_changes = 0;
        };
        check(m_int, "250", "250", Qt::Key_Escape, m_int);
        // Past the range: typed whole, never cut, and refused; the maximum itself is taken.
        check(m_int, "5000", "5000", Qt::Key_Enter, m_int, false);
        QCOMPARE(refused.value(0), (QVariantList{QVariant::fromValue(m_int), 5000}));
        check(m_int, "1000", "1000", Qt::Key_Enter, m_int);
        check(m_double, "3.75", "3.75", Qt::Key_Enter, m_double);
        check(m_enum, "W", "Window", Qt::Key_Escape, m_enum);
        check(m_enum, "W", "Window", Qt::Key_Enter, m_enum);
        check(m_string, "Hall", "Hall", Qt::Key_Escape, m_string);
        check(m_string, {}, "Line", Qt::Key_PageUp, nullptr);
        check(m_string, "Hall", "Hall", Qt::Key_Enter, m_string);
        check(m_int, "42", "42", Qt::Key_Down, m_double);
        check(m_double, {}, "3.75", Qt::Key_Up, m_int);
        check(m_int, {}, "42", Qt::Key_PageDown, nullptr);
        check(m_enum, {}, "Window", Qt::Key_Down, m_bool);
        check(m_enum, "O", "Off", Qt::Key_Up, m_double);
        check(m_int, "55", "55", Qt::Key_Tab, m_int);
        // Enter on an untouched editor changes nothing, not even a double shown rounded.
        m_doubles.setValue(m_double, 1.2345);
        m_changes = 0;
        check(m_double, {}, "1.23", Qt::Key_Enter, m_double);

        // Home and End stay in an editor that takes text.
        select(m_string);
        hit(Qt::Key_F2);
        hit(Qt::Key_Home);
        QVERIFY(editorOf(m_string));
    }

    // The wheel over an open editor scrolls the tree; the editor keeps the focus and its value.
    // Only a choice from a combo box's list commits.
    void wheelScrollsListChoiceCommits()
    {
        for (QtProperty* property : {m_int, m_enum}) {
            m_tree->verticalScrollBar()->setValue(0);
            select(property);
            hit(Qt::Key_F2);
            QWidget* editor = editorOf(property);
            // Nor may the wheel pull the focus into an editor.
            QVERIFY(editor->focusPolicy() != Qt::WheelFocus);
            turnWheel(editor);
            QVERIFY(m_tree->verticalScrollBar()->value() > 0);
            QCOMPARE(QApplication::focusWidget(), editor);
        }
        m_tree->verticalScrollBar()->setValue(0);
        auto* comboBox = qobject_cast<QComboBox*>(editorOf(m_enum));
        hit(Qt::Key_F4);
        QTRY_VERIFY(comboBox->view()->isVisible());
        hit(Qt::Key_Down);
        QCOMPARE(m_changes, 0);
        hit(Qt::Key_Return);
        QCOMPARE(m_changes, 1);
        QCOMPARE(m_enums.value(m_enum), 1);

        // Where nothing keeps the wheel from the combo box (outside the tree) it is no choice, even
        // after the list was open once.
        comboBox->removeEventFilter(m_tree->itemDelegate());
        turnWheel(comboBox);
        QCOMPARE(comboBox->currentIndex(), 2);
        QCOMPARE(m_enums.value(m_enum), 1);
    }

    void buttonsActOnClickAndSpace()
    {
        auto* checkBox = openEditor<QCheckBox>(m_bool);
        QVERIFY(m_bools.value(m_bool));
        QTest::mouseClick(checkBox, Qt::LeftButton);
        QVERIFY(!m_bools.value(m_bool));
        // The open box follows the manager.
        m_bools.setValue(m_bool, true, QString(), QString());
        QVERIFY(checkBox->isChecked());
        hit(Qt::Key_Space);
        QVERIFY(!m_bools.value(m_bool));
        // Arrow keys move on without toggling; Space on the row opens the box and toggles it.
        hit(Qt::Key_Down);
        QCOMPARE(m_tree->currentItem(), row(m_string));
        hit(Qt::Key_Up);
        hit(Qt::Key_Space);
        QVERIFY(m_bools.value(m_bool));
        QCOMPARE(m_changes, 5);

        // A push button acts only on a press of its own: Space or a click on the row only brings it up.
        ButtonFactory buttons;
        m_browser->setFactoryForManager(&m_strings, &buttons);
        select(m_string);
        hit(Qt::Key_Space);
        QVERIFY(qobject_cast<QPushButton*>(editorOf(m_string)));
        hit(Qt::Key_Escape);
        QCOMPARE(buttons.clicks, 0);
        QTest::mouseClick(openEditor<QPushButton>(m_string), Qt::LeftButton);
        hit(Qt::Key_Space);
        QCOMPARE(buttons.clicks, 2);
    }

    void editorsCloseWithoutCommitWhenDisabled()
    {
        m_int->setEnabled(false);
        QVERIFY(!openEditor<QSpinBox>(m_int));
        m_int->setEnabled(true);

        // The sensor window disables the browser or the edited row while reading: either closes the editor.
        select(m_int);
        type("999");
        m_browser->setEnabled(false);
        QCOMPARE(openEditorCount(), 0);
        m_browser->setEnabled(true);
        m_tree->setFocus();
        select(m_string);
        type("Hall");
        QPointer<QWidget> editor = editorOf(m_string);
        QVERIFY(editor);
        m_string->setEnabled(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!editor);
        QCOMPARE(m_changes, 0);
    }
};

QTEST_MAIN(PropertyBrowserTest)
#include "tst_propertybrowser.moc"
