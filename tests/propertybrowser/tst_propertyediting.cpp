// Editing in the tree browser with real key, mouse and wheel events: moving and scrolling never
// change a value; only Enter, leaving the editor or an explicit choice commit an edit, Esc abandons it.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Shows a string as a push button, as an application does for an action.
class ButtonFactory : public QtLineEditFactory
{
public:
    using QtLineEditFactory::QtLineEditFactory;
    int clicks = 0;

protected:
    QWidget* createEditor(QtStringPropertyManager*, QtProperty* property, QWidget* parent) override
    {
        auto* button = new QPushButton(property->valueText(), parent);
        connect(button, &QPushButton::clicked, this, [this] { ++clicks; });
        return button;
    }
};

// Keys as the keyboard delivers them: each press and release goes to the widget that has the
// focus at that moment.
void hit(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyPress(QApplication::focusWidget(), key, modifiers);
    QTest::keyRelease(QApplication::focusWidget(), key, modifiers);
}

void type(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

// A wheel turn over pos in widget reaches the widget that lies there and is passed on to its
// parents, like one from the mouse.
void turnWheel(QWidget* widget, QPoint pos)
{
    QWidget* target = widget->childAt(pos) ? widget->childAt(pos) : widget;
    const QPoint local = target->mapFrom(widget, pos);
    QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(target, &wheel);
}

} // namespace

class PropertyEditingTest : public QObject
{
    Q_OBJECT

    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtIntPropertyManager m_ints;
    QtDoublePropertyManager m_doubles;
    QtEnumPropertyManager m_enums;
    QtBoolPropertyManager m_bools;
    QtStringPropertyManager m_strings;
    QtProperty *m_int = nullptr, *m_double = nullptr, *m_enum = nullptr, *m_bool = nullptr,
               *m_string = nullptr;
    int m_changes = 0; // values changed in any manager

    QTreeWidgetItem* row(QtProperty* property) const
    {
        return m_tree->findItems(property->propertyName(), Qt::MatchExactly).value(0);
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

    // Clicks the property's value, which makes the row current and opens its editor (and toggles
    // a check box).
    template <class Editor> Editor* openEditor(QtProperty* property)
    {
        const QModelIndex value = m_tree->model()->index(m_tree->indexOfTopLevelItem(row(property)), 1);
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(value).center());
        return qobject_cast<Editor*>(editorOf(property));
    }

private Q_SLOTS:
    void initTestCase()
    {
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
        m_int = m_ints.addProperty(QStringLiteral("Threshold"));
        m_ints.setRange(m_int, 0, 1000);
        m_ints.setValue(m_int, 100);
        m_double = m_doubles.addProperty(QStringLiteral("Hysteresis"));
        m_enum = m_enums.addProperty(QStringLiteral("Mode"));
        m_enums.setEnumNames(m_enum,
                             {QStringLiteral("Single"), QStringLiteral("Window"), QStringLiteral("Off")});
        m_bool = m_bools.addProperty(QStringLiteral("Inverted"));
        m_string = m_strings.addProperty(QStringLiteral("Tag"));
        m_strings.setValue(m_string, QStringLiteral("Line"));
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

    void movingAndScrollingChangeNothing()
    {
        // Selecting a row from the program, a click on its name or keys that move open nothing.
        select(m_string);
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualRect(m_tree->model()->index(0, 0)).center());
        QCOMPARE(m_tree->currentItem(), row(m_int));
        for (Qt::Key key : {Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Up,
                            Qt::Key_Home, Qt::Key_Down, Qt::Key_Down}) {
            hit(key);
            QCOMPARE(openEditorCount(), 0);
        }
        QCOMPARE(m_tree->currentItem(), row(m_enum));

        // The wheel over an open editor scrolls the tree; the editor keeps the focus and its value.
        for (QtProperty* property : {m_int, m_enum}) {
            m_tree->verticalScrollBar()->setValue(0);
            select(property);
            hit(Qt::Key_F2);
            QWidget* editor = editorOf(property);
            QVERIFY(editor);
            // Nor may the wheel pull the focus into an editor.
            QVERIFY(editor->focusPolicy() != Qt::WheelFocus);
            turnWheel(m_tree->viewport(), editor->geometry().center());
            QVERIFY(m_tree->verticalScrollBar()->value() > 0);
            QCOMPARE(QApplication::focusWidget(), editor);
            hit(Qt::Key_Return);
        }
        QCOMPARE(m_changes, 0);
    }

    void keysCommitOrAbandonTheEdit()
    {
        // The first typed character opens the editor in place of the old value; F2 opens it as it
        // is. Esc abandons the edit; Enter and keys that move on (on a closed combo box the arrows
        // too, instead of stepping through its entries) commit it. The maximum itself is taken.
        const struct
        {
            QtProperty* property;
            QString typed; // nothing: opened with F2
            QString shown;
            Qt::Key key;
            QtProperty* next; // none: any other row
        } cases[] = {
            {m_int, "250", "250", Qt::Key_Escape, m_int},
            {m_int, "1000", "1000", Qt::Key_Enter, m_int},
            {m_double, "3.75", "3.75", Qt::Key_Enter, m_double},
            {m_enum, "W", "Window", Qt::Key_Escape, m_enum},
            {m_enum, {}, "Single", Qt::Key_Escape, m_enum},
            {m_enum, "W", "Window", Qt::Key_Enter, m_enum},
            {m_string, "Hall", "Hall", Qt::Key_Escape, m_string},
            {m_string, {}, "Line", Qt::Key_PageUp, nullptr},
            {m_string, "Hall", "Hall", Qt::Key_Enter, m_string},
            {m_int, "42", "42", Qt::Key_Down, m_double},
            {m_double, {}, "3.75", Qt::Key_Up, m_int},
            {m_int, {}, "42", Qt::Key_PageDown, nullptr},
            {m_enum, {}, "Window", Qt::Key_Down, m_bool},
            {m_enum, "O", "Off", Qt::Key_Up, m_double},
            {m_int, "55", "55", Qt::Key_Tab, m_int},
        };
        for (const auto& c : cases) {
            const QString before = row(c.property)->text(1);
            select(c.property);
            if (c.typed.isEmpty())
                hit(Qt::Key_F2);
            type(c.typed);
            const QWidget* editor = editorOf(c.property);
            QCOMPARE(editor->property(qobject_cast<const QComboBox*>(editor) ? "currentText" : "text"),
                     c.shown);
            hit(c.key);
            QCOMPARE(openEditorCount(), 0);
            QCOMPARE(QApplication::focusWidget(), m_tree);
            const bool committed = c.key != Qt::Key_Escape && !c.typed.isEmpty();
            QCOMPARE(row(c.property)->text(1), committed ? c.shown : before);
            QCOMPARE(m_changes, committed ? 1 : 0);
            QVERIFY(c.next ? m_tree->currentItem() == row(c.next) : m_tree->currentItem() != row(c.property));
            m_changes = 0;
        }

        // Home and End stay in an editor that takes text.
        select(m_string);
        hit(Qt::Key_F2);
        hit(Qt::Key_Home);
        QVERIFY(editorOf(m_string));
        hit(Qt::Key_Escape);
        // Enter on an untouched editor changes nothing, not even a double shown rounded.
        m_doubles.setValue(m_double, 1.2345);
        m_changes = 0;
        select(m_double);
        hit(Qt::Key_Return);
        QVERIFY(editorOf(m_double));
        hit(Qt::Key_Return);
        QCOMPARE(m_doubles.value(m_double), 1.2345);
        QCOMPARE(m_changes, 0);
    }

    // A value past the range is typed whole and refused when committed, never cut.
    void spinBoxRefusesValuesPastTheRange()
    {
        int refused = 0;
        connect(m_browser->findChild<QtSpinBoxFactory*>(), &QtSpinBoxFactory::valueRefused, this,
                [&refused](QtProperty*, int value) { refused = value; });
        select(m_int);
        type(QStringLiteral("5000"));
        auto* editor = qobject_cast<QSpinBox*>(editorOf(m_int));
        QVERIFY(editor);
        QCOMPARE(editor->value(), 5000);
        hit(Qt::Key_Return);
        QCOMPARE(m_changes, 0);
        QCOMPARE(refused, 5000);
        QCOMPARE(editor->value(), 100);
        QVERIFY(editor->styleSheet().contains("border"));
        QTest::keyClicks(editor, QStringLiteral("9"));
        QVERIFY(editor->styleSheet().isEmpty());
        m_ints.setSingleStep(m_int, 5);
        QCOMPARE(editor->singleStep(), 5);
    }

    void openEditorsFollowTheirManager()
    {
        m_doubles.setDecimals(m_double, 3);
        auto* doubleSpinBox = openEditor<QDoubleSpinBox>(m_double);
        QVERIFY(doubleSpinBox);
        QCOMPARE(doubleSpinBox->decimals(), 3);
        m_doubles.setValue(m_double, 7.125);
        QCOMPARE(doubleSpinBox->value(), 7.125);

        // The manager's pattern holds for what is typed.
        m_strings.setRegExp(m_string, QRegExp(QStringLiteral("[A-Za-z ]*")));
        auto* lineEdit = openEditor<QLineEdit>(m_string);
        QVERIFY(lineEdit);
        m_strings.setValue(m_string, QStringLiteral("Hall"));
        QCOMPARE(lineEdit->text(), QStringLiteral("Hall"));
        QTest::keyClick(lineEdit, Qt::Key_End);
        QTest::keyClicks(lineEdit, QStringLiteral(" 4B"));
        QTest::keyClick(lineEdit, Qt::Key_Return);
        QCOMPARE(m_strings.value(m_string), QStringLiteral("Hall B"));

        auto* comboBox = openEditor<QComboBox>(m_enum);
        QVERIFY(comboBox);
        m_enums.setEnumNames(m_enum, {QStringLiteral("A"), QStringLiteral("B")});
        QCOMPARE(comboBox->count(), 2);
        m_enums.setValue(m_enum, 1);
        QCOMPARE(comboBox->currentText(), QStringLiteral("B"));
        m_enums.setEnumIcons(m_enum, {{0, m_browser->style()->standardIcon(QStyle::SP_DialogOkButton)}});
        QVERIFY(!comboBox->itemIcon(0).isNull());
    }

    void enumListChoiceCommits()
    {
        select(m_enum);
        hit(Qt::Key_F2);
        auto* comboBox = qobject_cast<QComboBox*>(editorOf(m_enum));
        QVERIFY(comboBox);
        hit(Qt::Key_F4);
        QTRY_VERIFY(comboBox->view()->isVisible());
        hit(Qt::Key_Down);
        QCOMPARE(m_changes, 0);
        hit(Qt::Key_Return);
        QCOMPARE(m_changes, 1);
        QCOMPARE(m_enums.value(m_enum), 1);

        // Esc in the list only closes the list.
        hit(Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(comboBox->view()->isVisible());
        hit(Qt::Key_Down);
        hit(Qt::Key_Escape);
        QTRY_VERIFY(!comboBox->view()->isVisible());
        QCOMPARE(m_enums.value(m_enum), 1);
        QCOMPARE(editorOf(m_enum), comboBox);

        // Where nothing keeps the wheel from the combo box (outside the tree) it is no choice, even
        // after the list was open once.
        comboBox->removeEventFilter(m_tree->itemDelegate());
        turnWheel(comboBox, QPoint(5, 5));
        QCOMPARE(comboBox->currentIndex(), 2);
        QCOMPARE(m_enums.value(m_enum), 1);
    }

    void buttonsActOnClickAndSpace()
    {
        auto* checkBox = openEditor<QCheckBox>(m_bool);
        QVERIFY(checkBox);
        QVERIFY(m_bools.value(m_bool));
        QTest::mouseClick(checkBox, Qt::LeftButton);
        QVERIFY(!m_bools.value(m_bool));
        // The open box follows the manager, its texts included.
        m_bools.setValue(m_bool, true, QStringLiteral("On"), QStringLiteral("Off"));
        QVERIFY(checkBox->isChecked());
        QCOMPARE(checkBox->text(), QStringLiteral("On"));
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
        auto* buttons = new ButtonFactory(m_browser);
        m_browser->setFactoryForManager(&m_strings, buttons);
        select(m_string);
        hit(Qt::Key_Space);
        QVERIFY(qobject_cast<QPushButton*>(editorOf(m_string)));
        hit(Qt::Key_Escape);
        auto* button = openEditor<QPushButton>(m_string);
        QVERIFY(button);
        QCOMPARE(buttons->clicks, 0);
        QTest::mouseClick(button, Qt::LeftButton);
        hit(Qt::Key_Space);
        QCOMPARE(buttons->clicks, 2);
    }

    void editorsCloseWithoutCommitWhenDisabledOrUnbound()
    {
        m_int->setEnabled(false);
        QVERIFY(!openEditor<QSpinBox>(m_int));
        m_int->setEnabled(true);

        // Disabling the browser, or the row being edited (as the sensor window does while it reads),
        // closes the editor.
        select(m_int);
        type(QStringLiteral("999"));
        m_browser->setEnabled(false);
        QCOMPARE(openEditorCount(), 0);
        m_browser->setEnabled(true);
        m_tree->setFocus();
        select(m_string);
        type(QStringLiteral("Hall"));
        QPointer<QWidget> editor = editorOf(m_string);
        QVERIFY(editor);
        m_string->setEnabled(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!editor);
        QCOMPARE(m_changes, 0);

        // A deleted factory takes its editors along; the manager must not reach them any more.
        editor = openEditor<QSpinBox>(m_int);
        QVERIFY(editor);
        delete m_browser->findChild<QtSpinBoxFactory*>();
        QVERIFY(!editor);
        QVERIFY(!openEditor<QSpinBox>(m_int));
        m_ints.setValue(m_int, 300);
        QCOMPARE(row(m_int)->text(1), QStringLiteral("300"));
    }

    void focusedTreeFramesCurrentRow()
    {
        QPalette palette = m_tree->palette();
        palette.setColor(QPalette::Highlight, Qt::magenta);
        m_tree->setPalette(palette);
        select(m_double);
        // Without the selection's fill the frame is all that marks the row.
        m_tree->clearSelection();
        const QRect current = m_tree->visualItemRect(row(m_double));
        const QRect other = m_tree->visualItemRect(row(m_enum));
        const auto framed = [this](QPoint point) {
            return QColor(m_tree->viewport()->grab().toImage().pixel(point)) == Qt::magenta;
        };
        QVERIFY(framed({current.center().x(), current.top()}));
        QVERIFY(framed({0, current.center().y()}));
        QVERIFY(!framed({other.center().x(), other.top()}));

        // The editor's row keeps the frame while the editor has the focus, and loses it with the focus.
        hit(Qt::Key_F2);
        QVERIFY(editorOf(m_double));
        QVERIFY(framed({0, current.center().y()}));
        hit(Qt::Key_Escape);
        m_tree->clearFocus();
        QVERIFY(!framed({0, current.center().y()}));
    }
};

QTEST_MAIN(PropertyEditingTest)
#include "tst_propertyediting.moc"
