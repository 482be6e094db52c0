// Editing in the tree browser with real key, mouse and wheel events: moving through the rows and
// scrolling never changes a value; an edit is committed only by Enter, by leaving the editor or by
// an explicit choice, and Esc abandons it. Open editors follow their manager; factory bindings can
// be replaced.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

Q_DECLARE_METATYPE(QtProperty*)

namespace {

// Makes its own line edit and leaves committing to whoever listens, as the sensor window does.
class OwnLineEditFactory : public QtLineEditFactory
{
    Q_OBJECT
public:
    using QtLineEditFactory::QtLineEditFactory;

Q_SIGNALS:
    void textEdited(const QString& text);
    void editingFinished(const QString& text);

protected:
    QWidget* createEditor(QtStringPropertyManager*, QtProperty* property, QWidget* parent) override
    {
        auto* editor = new QLineEdit(parent);
        editor->setText(property->valueText());
        connect(editor, &QLineEdit::textEdited, this, &OwnLineEditFactory::textEdited);
        connect(editor, &QLineEdit::editingFinished, this,
                [this, editor] { emit editingFinished(editor->text()); });
        return editor;
    }
};

// Shows a string property as a push button, as an application may do for an action.
class ButtonEditorFactory : public QtLineEditFactory
{
    Q_OBJECT
public:
    using QtLineEditFactory::QtLineEditFactory;

Q_SIGNALS:
    void clicked();

protected:
    QWidget* createEditor(QtStringPropertyManager*, QtProperty* property, QWidget* parent) override
    {
        auto* button = new QPushButton(property->valueText(), parent);
        connect(button, &QPushButton::clicked, this, &ButtonEditorFactory::clicked);
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
    for (const QChar c : text) {
        QTest::keyPress(QApplication::focusWidget(), c.toLatin1());
        QTest::keyRelease(QApplication::focusWidget(), c.toLatin1());
    }
}

// A wheel turn over pos in widget reaches the widget that lies there and is passed on to its
// parents, like one from the mouse.
void turnWheel(QWidget* widget, QPoint pos, int steps)
{
    QWidget* target = widget->childAt(pos);
    if (!target)
        target = widget;
    const QPoint local = target->mapFrom(widget, pos);
    QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), QPoint(0, -120 * steps), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(target, &wheel);
}

} // namespace

class PropertyEditingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QtProperty*>(); }
    void init();
    void cleanup();

    void movingAndScrollingChangeNothing();
    void editorOpensOnClickF2EnterAndTyping();
    void enterCommitsTypedValue();
    void spinBoxRefusesValuesPastTheRange();
    void openEditorsFollowTheirManager();
    void escapeAbandonsTheEdit();
    void leavingWithKeysCommitsAndMoves();
    void wheelOverOpenEditorScrollsTree();
    void enumListChoiceCommits();
    void comboBoxCommitsOnlyListChoicesAtOnce();
    void checkBoxTogglesOnClickAndSpace();
    void disabledRowsGetNoEditorAndAbandonTheEdit();
    void applicationLineEditReplacesTheFirstAndFollowsTreeKeys();
    void pushButtonActsOnlyOnItsOwnPress();
    void deletedFactoryTakesItsEditors();
    void focusedTreeFramesCurrentRow();

private:
    QTreeWidgetItem* row(QtProperty* property) const;
    QWidget* editorOf(QtProperty* property) const;
    int openEditorCount() const;
    int changeCount() const;
    void select(QtProperty* property);
    void clickValue(QtProperty* property);
    // Clicks the property's value, which makes the row current and opens its editor (and toggles
    // a check box).
    template <class Editor> Editor* openEditor(QtProperty* property);

    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtIntPropertyManager* m_ints = nullptr;
    QtDoublePropertyManager* m_doubles = nullptr;
    QtEnumPropertyManager* m_enums = nullptr;
    QtBoolPropertyManager* m_bools = nullptr;
    QtStringPropertyManager* m_strings = nullptr;
    QtSpinBoxFactory* m_spinBoxFactory = nullptr;
    QtLineEditFactory* m_lineEditFactory = nullptr;
    QtProperty* m_int = nullptr;
    QtProperty* m_double = nullptr;
    QtProperty* m_enum = nullptr;
    QtProperty* m_bool = nullptr;
    QtProperty* m_string = nullptr;
    QList<QtProperty*> m_rows;
    QList<QSignalSpy*> m_changes;
};

void PropertyEditingTest::init()
{
    m_browser = new QtTreePropertyBrowser;
    m_tree = m_browser->findChild<QTreeWidget*>();
    auto* groups = new QtGroupPropertyManager(m_browser);
    m_ints = new QtIntPropertyManager(m_browser);
    m_doubles = new QtDoublePropertyManager(m_browser);
    m_enums = new QtEnumPropertyManager(m_browser);
    m_bools = new QtBoolPropertyManager(m_browser);
    m_strings = new QtStringPropertyManager(m_browser);
    m_spinBoxFactory = new QtSpinBoxFactory(m_browser);
    m_lineEditFactory = new QtLineEditFactory(m_browser);
    m_browser->setFactoryForManager(m_ints, m_spinBoxFactory);
    m_browser->setFactoryForManager(m_doubles, new QtDoubleSpinBoxFactory(m_browser));
    m_browser->setFactoryForManager(m_enums, new QtEnumEditorFactory(m_browser));
    m_browser->setFactoryForManager(m_bools, new QtCheckBoxFactory(m_browser));
    m_browser->setFactoryForManager(m_strings, m_lineEditFactory);

    m_int = m_ints->addProperty(QStringLiteral("Threshold"));
    m_ints->setRange(m_int, 0, 5000);
    m_ints->setSingleStep(m_int, 10);
    m_ints->setValue(m_int, 100);
    m_double = m_doubles->addProperty(QStringLiteral("Hysteresis"));
    m_doubles->setRange(m_double, 0.0, 10.0);
    m_doubles->setValue(m_double, 2.5);
    m_enum = m_enums->addProperty(QStringLiteral("Mode"));
    m_enums->setEnumNames(m_enum,
                          {QStringLiteral("Single"), QStringLiteral("Window"), QStringLiteral("Off")});
    m_bool = m_bools->addProperty(QStringLiteral("Inverted"));
    m_string = m_strings->addProperty(QStringLiteral("Tag"));
    m_strings->setValue(m_string, QStringLiteral("Line"));
    m_rows = {m_int, m_double, m_enum, m_bool, m_string};
    for (QtProperty* property : qAsConst(m_rows))
        m_browser->addProperty(property);
    // Enough rows below for the tree to scroll.
    QtProperty* spare = groups->addProperty(QStringLiteral("Spare outputs"));
    for (int i = 1; i <= 12; ++i)
        spare->addSubProperty(m_ints->addProperty(QStringLiteral("Output %1").arg(i)));
    m_browser->addProperty(spare);

    m_changes = {new QSignalSpy(m_ints, &QtIntPropertyManager::valueChanged),
                 new QSignalSpy(m_doubles, &QtDoublePropertyManager::valueChanged),
                 new QSignalSpy(m_enums, &QtEnumPropertyManager::valueChanged),
                 new QSignalSpy(m_bools, &QtBoolPropertyManager::valueChanged),
                 new QSignalSpy(m_strings, &QtStringPropertyManager::valueChanged)};
    m_browser->resize(400, 200);
    m_browser->show();
    // Leaving an editor commits through its losing the focus, which needs an active window.
    m_browser->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_browser));
    m_tree->setFocus();
}

void PropertyEditingTest::cleanup()
{
    qDeleteAll(m_changes);
    m_changes.clear();
    delete m_browser;
}

QTreeWidgetItem* PropertyEditingTest::row(QtProperty* property) const
{
    return m_tree->findItems(property->propertyName(), Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

QWidget* PropertyEditingTest::editorOf(QtProperty* property) const
{
    return m_tree->itemWidget(row(property), 1);
}

int PropertyEditingTest::openEditorCount() const
{
    int count = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        count += m_tree->itemWidget(*it, 1) ? 1 : 0;
    return count;
}

int PropertyEditingTest::changeCount() const
{
    int count = 0;
    for (const QSignalSpy* spy : m_changes)
        count += spy->count();
    return count;
}

void PropertyEditingTest::select(QtProperty* property)
{
    m_browser->setCurrentItem(m_browser->topLevelItem(property));
}

void PropertyEditingTest::clickValue(QtProperty* property)
{
    const QModelIndex value = m_tree->model()->index(m_tree->indexOfTopLevelItem(row(property)), 1);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(value).center());
}

template <class Editor> Editor* PropertyEditingTest::openEditor(QtProperty* property)
{
    clickValue(property);
    return qobject_cast<Editor*>(editorOf(property));
}

void PropertyEditingTest::movingAndScrollingChangeNothing()
{
    // Selecting a row from the program opens nothing either.
    select(m_int);
    QCOMPARE(openEditorCount(), 0);
    for (int i = 1; i < m_rows.size(); ++i) {
        hit(Qt::Key_Down);
        QCOMPARE(m_tree->currentItem(), row(m_rows.at(i)));
        QCOMPARE(openEditorCount(), 0);
    }
    for (Qt::Key key : {Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Up}) {
        hit(key);
        QCOMPARE(openEditorCount(), 0);
    }
    QCOMPARE(QApplication::focusWidget(), m_tree);

    QScrollBar* scrollBar = m_tree->verticalScrollBar();
    QVERIFY(scrollBar->maximum() > 0);
    scrollBar->setValue(0);
    turnWheel(m_tree->viewport(), m_tree->visualItemRect(row(m_int)).center(), 1);
    QVERIFY(scrollBar->value() > 0);
    QCOMPARE(openEditorCount(), 0);
    QCOMPARE(changeCount(), 0);
}

void PropertyEditingTest::editorOpensOnClickF2EnterAndTyping()
{
    // A click on the name only selects.
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                      m_tree->visualRect(m_tree->model()->index(0, 0)).center());
    QCOMPARE(m_tree->currentItem(), row(m_int));
    QCOMPARE(openEditorCount(), 0);

    auto* spinBox = openEditor<QSpinBox>(m_int);
    QVERIFY(spinBox);
    QCOMPARE(QApplication::focusWidget(), spinBox);
    hit(Qt::Key_Escape);
    QCOMPARE(openEditorCount(), 0);
    QCOMPARE(QApplication::focusWidget(), m_tree);

    for (const auto& [property, key] : {qMakePair(m_string, Qt::Key_F2), qMakePair(m_enum, Qt::Key_Return)}) {
        select(property);
        hit(key);
        QVERIFY(editorOf(property));
        hit(Qt::Key_Escape);
    }

    // The first typed character goes into the editor in place of the old value.
    select(m_int);
    type(QStringLiteral("7"));
    spinBox = qobject_cast<QSpinBox*>(editorOf(m_int));
    QVERIFY(spinBox);
    QCOMPARE(spinBox->text(), QStringLiteral("7"));
    QCOMPARE(changeCount(), 0);
}

void PropertyEditingTest::enterCommitsTypedValue()
{
    const struct
    {
        QtProperty* property;
        int manager;
        QString typed;
        QString shown;
    } cases[] = {
        {m_int, 0, QStringLiteral("250"), QStringLiteral("250")},
        {m_double, 1, QLocale().toString(3.75, 'f', 2), QLocale().toString(3.75, 'f', 2)},
        {m_enum, 2, QStringLiteral("W"), QStringLiteral("Window")},
        {m_string, 4, QStringLiteral("Hall"), QStringLiteral("Hall")},
    };
    for (const auto& c : cases) {
        select(c.property);
        type(c.typed);
        QCOMPARE(changeCount(), 0);
        hit(Qt::Key_Enter);
        QCOMPARE(m_changes.at(c.manager)->count(), 1);
        QCOMPARE(m_changes.at(c.manager)->last().at(0).value<QtProperty*>(), c.property);
        QCOMPARE(c.property->valueText(), c.shown);
        QCOMPARE(row(c.property)->text(1), c.shown);
        QCOMPARE(openEditorCount(), 0);
        QCOMPARE(m_tree->currentItem(), row(c.property));
        m_changes.at(c.manager)->clear();
    }

    // Enter on an untouched editor changes nothing; neither does a double shown rounded.
    m_doubles->setValue(m_double, 1.2345);
    m_changes.at(1)->clear();
    select(m_double);
    hit(Qt::Key_F2);
    hit(Qt::Key_Return);
    QCOMPARE(m_doubles->value(m_double), 1.2345);
    QCOMPARE(changeCount(), 0);
}

// A value past the range is typed whole and refused when committed, never cut.
void PropertyEditingTest::spinBoxRefusesValuesPastTheRange()
{
    QSignalSpy refused(m_spinBoxFactory, &QtSpinBoxFactory::valueRefused);
    m_ints->setMaximum(m_int, 1000);
    auto* editor = openEditor<QSpinBox>(m_int);
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("5000"));
    QCOMPARE(editor->value(), 5000);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(changeCount(), 0);
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.last().at(0).value<QtProperty*>(), m_int);
    QCOMPARE(refused.last().at(1).toInt(), 5000);
    QCOMPARE(editor->value(), 100);
    QVERIFY(editor->styleSheet().contains("border"));
    QTest::keyClicks(editor, QStringLiteral("9"));
    QVERIFY(editor->styleSheet().isEmpty());
    m_ints->setSingleStep(m_int, 5);
    QCOMPARE(editor->singleStep(), 5);
}

void PropertyEditingTest::openEditorsFollowTheirManager()
{
    m_doubles->setDecimals(m_double, 3);
    auto* doubleSpinBox = openEditor<QDoubleSpinBox>(m_double);
    QVERIFY(doubleSpinBox);
    QCOMPARE(doubleSpinBox->decimals(), 3);
    m_doubles->setValue(m_double, 7.125);
    QCOMPARE(doubleSpinBox->value(), 7.125);

    // The manager's pattern holds for what is typed.
    m_strings->setRegExp(m_string, QRegExp(QStringLiteral("[A-Za-z ]*")));
    auto* lineEdit = openEditor<QLineEdit>(m_string);
    QVERIFY(lineEdit);
    m_strings->setValue(m_string, QStringLiteral("Hall"));
    QCOMPARE(lineEdit->text(), QStringLiteral("Hall"));
    QTest::keyClick(lineEdit, Qt::Key_End);
    QTest::keyClicks(lineEdit, QStringLiteral(" 4B"));
    QCOMPARE(lineEdit->text(), QStringLiteral("Hall B"));
    QTest::keyClick(lineEdit, Qt::Key_Return);
    QCOMPARE(m_strings->value(m_string), QStringLiteral("Hall B"));

    auto* comboBox = openEditor<QComboBox>(m_enum);
    QVERIFY(comboBox);
    QCOMPARE(comboBox->count(), 3);
    m_enums->setEnumNames(m_enum, {QStringLiteral("A"), QStringLiteral("B")});
    QCOMPARE(comboBox->count(), 2);
    QCOMPARE(comboBox->currentIndex(), 0);
    m_enums->setValue(m_enum, 1);
    QCOMPARE(comboBox->currentText(), QStringLiteral("B"));
}

void PropertyEditingTest::escapeAbandonsTheEdit()
{
    const QList<QPair<QtProperty*, QString>> typed = {
        {m_int, QStringLiteral("4321")}, {m_string, QStringLiteral("Hall")}, {m_enum, QStringLiteral("W")}};
    for (const auto& [property, text] : typed) {
        const QString before = row(property)->text(1);
        select(property);
        type(text);
        QVERIFY(editorOf(property));
        hit(Qt::Key_Escape);
        QCOMPARE(openEditorCount(), 0);
        QCOMPARE(row(property)->text(1), before);
        QCOMPARE(property->valueText(), before);
    }
    // Opened again, the editor shows the old text.
    select(m_string);
    hit(Qt::Key_F2);
    auto* lineEdit = qobject_cast<QLineEdit*>(editorOf(m_string));
    QVERIFY(lineEdit);
    QCOMPARE(lineEdit->text(), QStringLiteral("Line"));
    QCOMPARE(changeCount(), 0);
}

void PropertyEditingTest::leavingWithKeysCommitsAndMoves()
{
    select(m_int);
    type(QStringLiteral("42"));
    hit(Qt::Key_Down);
    QCOMPARE(m_changes.at(0)->count(), 1);
    QCOMPARE(m_ints->value(m_int), 42);
    QCOMPARE(m_tree->currentItem(), row(m_double));
    QCOMPARE(openEditorCount(), 0);
    QCOMPARE(QApplication::focusWidget(), m_tree);

    // Up, PageUp and PageDown leave an open editor too; without an edit nothing is committed.
    hit(Qt::Key_F2);
    QVERIFY(editorOf(m_double));
    hit(Qt::Key_Up);
    QCOMPARE(m_tree->currentItem(), row(m_int));
    for (QtProperty* start : {m_int, m_string}) {
        const Qt::Key key = start == m_int ? Qt::Key_PageDown : Qt::Key_PageUp;
        select(start);
        hit(Qt::Key_F2);
        QVERIFY(editorOf(start));
        hit(key);
        QVERIFY(m_tree->currentItem() != row(start));
        QCOMPARE(openEditorCount(), 0);
    }
    QCOMPARE(changeCount(), 1);

    // Home and End stay in an editor that takes text.
    select(m_string);
    hit(Qt::Key_F2);
    hit(Qt::Key_Home);
    QVERIFY(editorOf(m_string));
    hit(Qt::Key_Escape);

    // Arrow keys on the closed combo box move rows instead of stepping through its entries.
    select(m_enum);
    hit(Qt::Key_F2);
    hit(Qt::Key_Down);
    QCOMPARE(m_tree->currentItem(), row(m_bool));
    QCOMPARE(m_enums->value(m_enum), 0);
    select(m_enum);
    type(QStringLiteral("O"));
    hit(Qt::Key_Up);
    QCOMPARE(m_changes.at(2)->count(), 1);
    QCOMPARE(m_enums->value(m_enum), 2);
    QCOMPARE(m_tree->currentItem(), row(m_double));

    // Tab leaves the editor as well, on its way to the next widget.
    select(m_int);
    type(QStringLiteral("55"));
    hit(Qt::Key_Tab);
    QCOMPARE(m_ints->value(m_int), 55);
    QCOMPARE(openEditorCount(), 0);
    QCOMPARE(changeCount(), 3);
}

void PropertyEditingTest::wheelOverOpenEditorScrollsTree()
{
    QScrollBar* scrollBar = m_tree->verticalScrollBar();
    for (QtProperty* property : {m_int, m_enum}) {
        scrollBar->setValue(0);
        select(property);
        hit(Qt::Key_F2);
        QWidget* editor = editorOf(property);
        QVERIFY(editor);
        turnWheel(m_tree->viewport(), editor->geometry().center(), 1);
        QVERIFY(scrollBar->value() > 0);
        QCOMPARE(QApplication::focusWidget(), editor);
        hit(Qt::Key_Return);
    }
    QCOMPARE(changeCount(), 0);
}

void PropertyEditingTest::enumListChoiceCommits()
{
    select(m_enum);
    hit(Qt::Key_F2);
    auto* comboBox = qobject_cast<QComboBox*>(editorOf(m_enum));
    QVERIFY(comboBox);
    hit(Qt::Key_F4);
    QTRY_VERIFY(comboBox->view()->isVisible());
    hit(Qt::Key_Down);
    QCOMPARE(changeCount(), 0);
    hit(Qt::Key_Return);
    QCOMPARE(changeCount(), 1);
    QCOMPARE(m_enums->value(m_enum), 1);
    QVERIFY(!comboBox->view()->isVisible());

    // Esc in the list only closes the list.
    hit(Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(comboBox->view()->isVisible());
    hit(Qt::Key_Down);
    hit(Qt::Key_Escape);
    QTRY_VERIFY(!comboBox->view()->isVisible());
    QCOMPARE(m_enums->value(m_enum), 1);
    QCOMPARE(editorOf(m_enum), comboBox);

    // A click on an entry.
    hit(Qt::Key_F4);
    QTRY_VERIFY(comboBox->view()->isVisible());
    QAbstractItemView* list = comboBox->view();
    const QPoint off = list->visualRect(list->model()->index(2, 0)).center();
    QTest::mouseMove(list->viewport(), off);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, off);
    QTRY_COMPARE(m_enums->value(m_enum), 2);
    QCOMPARE(changeCount(), 2);
}

void PropertyEditingTest::comboBoxCommitsOnlyListChoicesAtOnce()
{
    // Outside the tree nothing keeps the wheel from the combo box; it must not count as a choice,
    // even after the list was open once.
    QtEnumEditorFactory factory;
    factory.addPropertyManager(m_enums);
    QtAbstractEditorFactoryBase& editors = factory;
    QWidget parent;
    auto* editor = qobject_cast<QComboBox*>(editors.createEditor(m_enum, &parent));
    QVERIFY(editor);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    editor->showPopup();
    editor->hidePopup();
    QWheelEvent wheel(QPointF(5, 5), QPointF(editor->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(editor, &wheel);
    QCOMPARE(editor->currentIndex(), 1);
    QCOMPARE(m_enums->value(m_enum), 0);

    editor->showPopup();
    QTest::keyClick(editor->view(), Qt::Key_Down);
    QTest::keyClick(editor->view(), Qt::Key_Return);
    QCOMPARE(editor->currentIndex(), 2);
    QCOMPARE(m_enums->value(m_enum), 2);
}

void PropertyEditingTest::checkBoxTogglesOnClickAndSpace()
{
    QSignalSpy& toggles = *m_changes.at(3);
    auto* checkBox = openEditor<QCheckBox>(m_bool);
    QVERIFY(checkBox);
    QCOMPARE(toggles.count(), 1);
    QVERIFY(m_bools->value(m_bool));

    QTest::mouseClick(checkBox, Qt::LeftButton);
    QCOMPARE(toggles.count(), 2);
    QVERIFY(!m_bools->value(m_bool));
    // The open box follows the manager, its texts included.
    m_bools->setValue(m_bool, true, QStringLiteral("On"), QStringLiteral("Off"));
    QVERIFY(checkBox->isChecked());
    QCOMPARE(checkBox->text(), QStringLiteral("On"));

    hit(Qt::Key_Space);
    QCOMPARE(toggles.count(), 4);
    QVERIFY(!m_bools->value(m_bool));

    // Arrow keys move on without toggling; Space on the row opens the box and toggles it.
    hit(Qt::Key_Down);
    QCOMPARE(m_tree->currentItem(), row(m_string));
    hit(Qt::Key_Up);
    QCOMPARE(m_tree->currentItem(), row(m_bool));
    QCOMPARE(toggles.count(), 4);
    hit(Qt::Key_Space);
    QCOMPARE(toggles.count(), 5);
    QVERIFY(m_bools->value(m_bool));
    QCOMPARE(changeCount(), 5);
}

void PropertyEditingTest::disabledRowsGetNoEditorAndAbandonTheEdit()
{
    m_int->setEnabled(false);
    QVERIFY(!openEditor<QSpinBox>(m_int));
    m_int->setEnabled(true);

    select(m_int);
    type(QStringLiteral("999"));
    m_browser->setEnabled(false);
    QCOMPARE(openEditorCount(), 0);
    m_browser->setEnabled(true);
    m_tree->setFocus();

    // What the sensor window does in read mode: disable the row the user is editing.
    select(m_string);
    type(QStringLiteral("Hall"));
    QPointer<QWidget> editor = editorOf(m_string);
    QVERIFY(editor);
    m_string->setEnabled(false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!editor);
    QCOMPARE(openEditorCount(), 0);
    QCOMPARE(changeCount(), 0);
}

void PropertyEditingTest::applicationLineEditReplacesTheFirstAndFollowsTreeKeys()
{
    auto* factory = new OwnLineEditFactory(m_browser);
    m_browser->setFactoryForManager(m_strings, factory);
    QVERIFY(m_lineEditFactory->propertyManagers().isEmpty());
    QCOMPARE(factory->propertyManagers(), QSet<QtStringPropertyManager*>{m_strings});
    QSignalSpy edited(factory, &OwnLineEditFactory::textEdited);
    QSignalSpy finished(factory, &OwnLineEditFactory::editingFinished);

    select(m_string);
    type(QStringLiteral("Hall"));
    auto* lineEdit = qobject_cast<QLineEdit*>(editorOf(m_string));
    QVERIFY(lineEdit);
    QCOMPARE(lineEdit->text(), QStringLiteral("Hall"));
    QCOMPARE(edited.last().at(0).toString(), QStringLiteral("Hall"));
    hit(Qt::Key_Escape);
    QCOMPARE(openEditorCount(), 0);
    QCOMPARE(finished.count(), 0);

    hit(Qt::Key_F2);
    type(QStringLiteral("Gate"));
    hit(Qt::Key_Return);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.last().at(0).toString(), QStringLiteral("Gate"));
    QCOMPARE(openEditorCount(), 0);

    hit(Qt::Key_F2);
    type(QStringLiteral("Belt"));
    hit(Qt::Key_Up);
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.last().at(0).toString(), QStringLiteral("Belt"));
    QCOMPARE(m_tree->currentItem(), row(m_bool));
    QCOMPARE(changeCount(), 0);
}

void PropertyEditingTest::pushButtonActsOnlyOnItsOwnPress()
{
    auto* factory = new ButtonEditorFactory(m_browser);
    m_browser->setFactoryForManager(m_strings, factory);
    QSignalSpy clicks(factory, &ButtonEditorFactory::clicked);

    // Space or a click on the row only brings up the button.
    select(m_string);
    hit(Qt::Key_Space);
    QVERIFY(qobject_cast<QPushButton*>(editorOf(m_string)));
    hit(Qt::Key_Escape);
    auto* button = openEditor<QPushButton>(m_string);
    QVERIFY(button);
    QCOMPARE(clicks.count(), 0);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    hit(Qt::Key_Space);
    QCOMPARE(clicks.count(), 2);
}

void PropertyEditingTest::deletedFactoryTakesItsEditors()
{
    QPointer<QSpinBox> editor = openEditor<QSpinBox>(m_int);
    QVERIFY(editor);
    delete m_spinBoxFactory;
    QVERIFY(!editor);
    QVERIFY(!openEditor<QSpinBox>(m_int));
    m_ints->setValue(m_int, 300); // must not reach a deleted editor
    QCOMPARE(m_tree->currentItem()->text(1), QStringLiteral("300"));
}

void PropertyEditingTest::focusedTreeFramesCurrentRow()
{
    QPalette palette = m_tree->palette();
    const QColor frame(255, 0, 255);
    palette.setColor(QPalette::Highlight, frame);
    m_tree->setPalette(palette);
    select(m_double);
    // Without the selection's fill the frame is all that marks the row.
    m_tree->clearSelection();
    const QRect current = m_tree->visualItemRect(row(m_double));
    const QRect other = m_tree->visualItemRect(row(m_enum));
    const QPoint topEdge(current.center().x(), current.top());
    const QPoint otherTopEdge(other.center().x(), other.top());

    QImage image = m_tree->viewport()->grab().toImage();
    QCOMPARE(QColor(image.pixel(topEdge)), frame);
    QCOMPARE(QColor(image.pixel(topEdge + QPoint(0, 1))), frame);
    QCOMPARE(QColor(image.pixel(QPoint(0, current.center().y()))), frame);
    QVERIFY(QColor(image.pixel(otherTopEdge)) != frame);

    // The editor's row keeps the frame while the editor has the focus.
    hit(Qt::Key_F2);
    QVERIFY(editorOf(m_double));
    image = m_tree->viewport()->grab().toImage();
    QCOMPARE(QColor(image.pixel(QPoint(0, current.center().y()))), frame);
    hit(Qt::Key_Escape);

    auto* elsewhere = new QLineEdit(m_browser);
    elsewhere->show();
    elsewhere->setFocus();
    image = m_tree->viewport()->grab().toImage();
    QVERIFY(QColor(image.pixel(topEdge)) != frame);
}

QTEST_MAIN(PropertyEditingTest)
#include "tst_propertyediting.moc"
