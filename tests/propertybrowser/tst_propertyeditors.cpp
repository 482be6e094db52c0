// Editors opened in the tree browser: each kind writes a finished edit to its manager and follows
// the manager; factory bindings can be replaced.

#include "qteditorfactory.h"
#include "qttreepropertybrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

Q_DECLARE_METATYPE(QtProperty*)

namespace {

// What the sensor window does with its string properties: take the line edit the base factory
// creates and pass its signals on.
class NotifyingLineEditFactory : public QtLineEditFactory
{
    Q_OBJECT
public:
    using QtLineEditFactory::QtLineEditFactory;

Q_SIGNALS:
    void textEdited(const QString& text);
    void editingFinished();

protected:
    QWidget* createEditor(QtStringPropertyManager* manager, QtProperty* property, QWidget* parent) override
    {
        auto* editor = qobject_cast<QLineEdit*>(QtLineEditFactory::createEditor(manager, property, parent));
        if (editor) {
            connect(editor, &QLineEdit::textEdited, this, &NotifyingLineEditFactory::textEdited);
            connect(editor, &QLineEdit::editingFinished, this, &NotifyingLineEditFactory::editingFinished);
        }
        return editor;
    }
};

} // namespace

class PropertyEditorsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QtProperty*>(); }
    void init();
    void cleanup();

    void checkBoxCommitsClicks();
    void spinBoxCommitsOnEnterAndFollowsRange();
    void doubleSpinBoxCommitsTypedValue();
    void lineEditCommitsTypingWithinPattern();
    void comboBoxCommitsIndexAndFollowsNames();
    void comboBoxCommitsOnlyListChoicesAtOnce();
    void disabledPropertyGetsNoEditor();
    void laterFactoryReplacesEarlier();
    void deletedFactoryTakesItsEditors();

private:
    // Clicks the value of the property's first row, which makes the row current and opens its
    // editor (and toggles a check box).
    template <class Editor> Editor* openEditor(QtProperty* property);

    QtTreePropertyBrowser* m_browser = nullptr;
    QTreeWidget* m_tree = nullptr;
    QtBoolPropertyManager* m_bools = nullptr;
    QtIntPropertyManager* m_ints = nullptr;
    QtDoublePropertyManager* m_doubles = nullptr;
    QtStringPropertyManager* m_strings = nullptr;
    QtEnumPropertyManager* m_enums = nullptr;
    QtSpinBoxFactory* m_spinBoxFactory = nullptr;
    QtProperty* m_bool = nullptr;
    QtProperty* m_int = nullptr;
    QtProperty* m_double = nullptr;
    QtProperty* m_string = nullptr;
    QtProperty* m_enum = nullptr;
};

void PropertyEditorsTest::init()
{
    m_browser = new QtTreePropertyBrowser;
    m_tree = m_browser->findChild<QTreeWidget*>();
    m_bools = new QtBoolPropertyManager(m_browser);
    m_ints = new QtIntPropertyManager(m_browser);
    m_doubles = new QtDoublePropertyManager(m_browser);
    m_strings = new QtStringPropertyManager(m_browser);
    m_enums = new QtEnumPropertyManager(m_browser);
    m_spinBoxFactory = new QtSpinBoxFactory(m_browser);
    m_browser->setFactoryForManager(m_bools, new QtCheckBoxFactory(m_browser));
    m_browser->setFactoryForManager(m_ints, m_spinBoxFactory);
    m_browser->setFactoryForManager(m_doubles, new QtDoubleSpinBoxFactory(m_browser));
    m_browser->setFactoryForManager(m_strings, new QtLineEditFactory(m_browser));
    m_browser->setFactoryForManager(m_enums, new QtEnumEditorFactory(m_browser));

    m_bool = m_bools->addProperty(QStringLiteral("Inverted"));
    m_int = m_ints->addProperty(QStringLiteral("Threshold"));
    m_ints->setRange(m_int, 0, 5000);
    m_ints->setSingleStep(m_int, 10);
    m_ints->setValue(m_int, 100);
    m_double = m_doubles->addProperty(QStringLiteral("Hysteresis"));
    m_doubles->setRange(m_double, 0.0, 10.0);
    m_string = m_strings->addProperty(QStringLiteral("Tag"));
    m_strings->setValue(m_string, QStringLiteral("Line"));
    m_enum = m_enums->addProperty(QStringLiteral("Mode"));
    m_enums->setEnumNames(m_enum,
                          {QStringLiteral("Single"), QStringLiteral("Window"), QStringLiteral("Off")});
    for (QtProperty* property : {m_bool, m_int, m_double, m_string, m_enum})
        m_browser->addProperty(property);
    m_browser->resize(400, 300);
    m_browser->show();
    // Leaving an editor commits through its losing the focus, which needs an active window.
    m_browser->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_browser));
}

void PropertyEditorsTest::cleanup()
{
    delete m_browser;
}

template <class Editor> Editor* PropertyEditorsTest::openEditor(QtProperty* property)
{
    QTreeWidgetItem* row =
        m_tree->findItems(property->propertyName(), Qt::MatchExactly | Qt::MatchRecursive).value(0);
    if (!row)
        return nullptr;
    const QModelIndex value = m_tree->model()->index(m_tree->indexOfTopLevelItem(row), 1);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(value).center());
    return qobject_cast<Editor*>(m_tree->itemWidget(row, 1));
}

void PropertyEditorsTest::checkBoxCommitsClicks()
{
    QSignalSpy values(m_bools, &QtBoolPropertyManager::valueChanged);
    auto* editor = openEditor<QCheckBox>(m_bool);
    QVERIFY(editor);
    QVERIFY(editor->isChecked());
    QVERIFY(m_bools->value(m_bool));
    QTest::mouseClick(editor, Qt::LeftButton);
    QVERIFY(!m_bools->value(m_bool));
    QCOMPARE(values.count(), 2);

    m_bools->setValue(m_bool, true, QStringLiteral("On"), QStringLiteral("Off"));
    QVERIFY(editor->isChecked());
    QCOMPARE(editor->text(), QStringLiteral("On"));
}

void PropertyEditorsTest::spinBoxCommitsOnEnterAndFollowsRange()
{
    QSignalSpy values(m_ints, &QtIntPropertyManager::valueChanged);
    auto* editor = openEditor<QSpinBox>(m_int);
    QVERIFY(editor);
    QCOMPARE(editor->value(), 100);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("4321"));
    QCOMPARE(editor->value(), 4321);
    QCOMPARE(m_ints->value(m_int), 100); // nothing is committed while the user types
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_ints->value(m_int), 4321);
    QCOMPARE(values.count(), 1);
    QCOMPARE(values.last().at(0).value<QtProperty*>(), m_int);

    // A value past the range is typed whole and refused when committed, never cut.
    QSignalSpy refused(m_spinBoxFactory, &QtSpinBoxFactory::valueRefused);
    m_ints->setMaximum(m_int, 1000);
    editor = openEditor<QSpinBox>(m_int);
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("5000"));
    QCOMPARE(editor->value(), 5000);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_ints->value(m_int), 1000);
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.last().at(1).toInt(), 5000);
    QCOMPARE(editor->value(), 1000);
    QVERIFY(editor->styleSheet().contains("border"));
    QTest::keyClicks(editor, QStringLiteral("9"));
    QVERIFY(editor->styleSheet().isEmpty());
    m_ints->setSingleStep(m_int, 5);
    QCOMPARE(editor->singleStep(), 5);
}

void PropertyEditorsTest::doubleSpinBoxCommitsTypedValue()
{
    m_doubles->setDecimals(m_double, 3);
    auto* editor = openEditor<QDoubleSpinBox>(m_double);
    QVERIFY(editor);
    QCOMPARE(editor->decimals(), 3);
    m_doubles->setValue(m_double, 7.125);
    QCOMPARE(editor->value(), 7.125);

    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QLocale().toString(2.75, 'f', 2));
    QCOMPARE(m_doubles->value(m_double), 7.125);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_doubles->value(m_double), 2.75);
}

void PropertyEditorsTest::lineEditCommitsTypingWithinPattern()
{
    m_strings->setRegExp(m_string, QRegExp(QStringLiteral("[A-Za-z ]*")));
    auto* editor = openEditor<QLineEdit>(m_string);
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("Line"));
    m_strings->setValue(m_string, QStringLiteral("Hall"));
    QCOMPARE(editor->text(), QStringLiteral("Hall"));

    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, QStringLiteral(" 4B"));
    QCOMPARE(editor->text(), QStringLiteral("Hall B"));
    QCOMPARE(m_strings->value(m_string), QStringLiteral("Hall"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_strings->value(m_string), QStringLiteral("Hall B"));
}

void PropertyEditorsTest::comboBoxCommitsIndexAndFollowsNames()
{
    auto* editor = openEditor<QComboBox>(m_enum);
    QVERIFY(editor);
    QCOMPARE(editor->count(), 3);
    QTest::keyClicks(editor, QStringLiteral("W"));
    QCOMPARE(editor->currentIndex(), 1);
    QCOMPARE(m_enums->value(m_enum), 0);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_enums->value(m_enum), 1);

    editor = openEditor<QComboBox>(m_enum);
    QVERIFY(editor);
    m_enums->setEnumNames(m_enum, {QStringLiteral("A"), QStringLiteral("B")});
    QCOMPARE(editor->count(), 2);
    QCOMPARE(editor->currentIndex(), 0);
    m_enums->setValue(m_enum, 1);
    QCOMPARE(editor->currentText(), QStringLiteral("B"));
}

void PropertyEditorsTest::comboBoxCommitsOnlyListChoicesAtOnce()
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

void PropertyEditorsTest::disabledPropertyGetsNoEditor()
{
    m_int->setEnabled(false);
    QVERIFY(!openEditor<QSpinBox>(m_int));

    m_int->setEnabled(true);
    QPointer<QSpinBox> editor = openEditor<QSpinBox>(m_int);
    QVERIFY(editor);
    // What the sensor window does in read mode: disable the row the user just selected.
    m_int->setEnabled(false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!editor);
    QVERIFY(!m_tree->itemWidget(m_tree->currentItem(), 1));
}

void PropertyEditorsTest::laterFactoryReplacesEarlier()
{
    auto* first = new QtLineEditFactory(m_browser);
    auto* notifying = new NotifyingLineEditFactory(m_browser);
    m_browser->setFactoryForManager(m_strings, first);
    m_browser->setFactoryForManager(m_strings, notifying);
    QVERIFY(first->propertyManagers().isEmpty());
    QCOMPARE(notifying->propertyManagers(), QSet<QtStringPropertyManager*>{m_strings});

    QSignalSpy edited(notifying, &NotifyingLineEditFactory::textEdited);
    QSignalSpy finished(notifying, &NotifyingLineEditFactory::editingFinished);
    auto* editor = openEditor<QLineEdit>(m_string);
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, QStringLiteral("s"));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.last().at(0).toString(), QStringLiteral("Lines"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(finished.count(), 1);
}

void PropertyEditorsTest::deletedFactoryTakesItsEditors()
{
    QPointer<QSpinBox> editor = openEditor<QSpinBox>(m_int);
    QVERIFY(editor);
    delete m_spinBoxFactory;
    QVERIFY(!editor);
    QVERIFY(!openEditor<QSpinBox>(m_int));
    m_ints->setValue(m_int, 300); // must not reach a deleted editor
    QCOMPARE(m_tree->currentItem()->text(1), QStringLiteral("300"));
}

QTEST_MAIN(PropertyEditorsTest)
#include "tst_propertyeditors.moc"
